# qv_unit_tests(NAME [TIMEOUT seconds] LIBS lib... SOURCES file...)
# One GoogleTest program per unit folder, registered with CTest test by test;
# each test may take 120 seconds unless TIMEOUT says otherwise. The Windows
# build has none: unit tests run on the host.
#
# The tests make and delete many thousands of small trees in the temporary
# folder. On a disk file system, creating a file soon after many deletions
# scans the inode table, which made the kernel most of the suite's time: so
# CTest gives them a folder in memory where the host has one.
if(IS_DIRECTORY /dev/shm)
  set(QV_TEST_TEMP_FOLDER /dev/shm)
endif()

function(qv_unit_tests name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;SOURCES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  # Every test source parses GoogleTest and much of the standard library
  # before its own few lines: compiled eight at a time, the suite builds in
  # less than half the processor time.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(properties TIMEOUT ${ARG_TIMEOUT})
  if(QV_TEST_TEMP_FOLDER)
    list(APPEND properties ENVIRONMENT TMPDIR=${QV_TEST_TEMP_FOLDER})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
