# qv_unit_tests(NAME [TIMEOUT seconds] LIBS lib... SOURCES file...)
# One GoogleTest program per unit folder, registered with CTest test by test;
# each test may take 120 seconds unless TIMEOUT says otherwise. The Windows
# build has none: unit tests run on the host.
function(qv_unit_tests name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;SOURCES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()
