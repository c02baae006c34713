# qv_unit_tests(NAME [TIMEOUT seconds] [LONG] LIBS lib... SOURCES file...)
# One GoogleTest program per unit folder, registered with CTest test by test;
# each test may take 120 seconds unless TIMEOUT says otherwise. LONG tests
# start first: a first run has no timings to order by, and a long test
# started last would end the suite alone. The Windows build has none: unit
# tests run on the host.
#
# The tests make and delete many thousands of small trees in the temporary
# folder. On a disk file system, creating a file soon after many deletions
# scans the inode table, which made the kernel most of the suite's time: so
# CTest gives them a folder in memory where the host has one.
if(IS_DIRECTORY /dev/shm)
  set(QV_TEST_TEMP_FOLDER /dev/shm)
endif()

set(QV_LONG_TEST_COST 1000)

# GoogleTest and the standard headers the tests use, parsed once for all the
# test programs of a build instead of once per unit (compiled as they are).
if(NOT WIN32)
  add_library(qv_test_headers OBJECT ${PROJECT_SOURCE_DIR}/cmake/test_headers.cc)
  target_compile_options(qv_test_headers PRIVATE -O0)
  target_link_libraries(qv_test_headers PRIVATE GTest::gtest GTest::gmock)
  target_precompile_headers(qv_test_headers PRIVATE
    <gtest/gtest.h> <algorithm> <filesystem> <fstream> <functional> <map> <memory>
    <random> <sstream> <string> <vector>)
endif()

function(qv_unit_tests name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "LONG" "TIMEOUT" "LIBS;SOURCES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_precompile_headers(${name} REUSE_FROM qv_test_headers)
  # Every test source parses GoogleTest and much of the standard library
  # before its own few lines: compiled eight at a time, the suite builds in
  # less than half the processor time.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
  # Their time is spent in the libraries they drive, which keep the build's
  # optimisation; optimising GoogleTest's expansions was a fifth of the
  # build's processor time.
  target_compile_options(${name} PRIVATE -O0)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(properties TIMEOUT ${ARG_TIMEOUT})
  if(ARG_LONG)
    list(APPEND properties COST ${QV_LONG_TEST_COST})
  endif()
  if(QV_TEST_TEMP_FOLDER)
    list(APPEND properties ENVIRONMENT TMPDIR=${QV_TEST_TEMP_FOLDER})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
