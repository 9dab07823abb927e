# tundrel_window_test(NAME SOURCES... LIBS...): like tundrel_test, for tests that open windows
# on the test display. They run alone: windows of parallel tests take the focus from each other
# and race for the display's full screen. A hung one ends after two minutes.
function(tundrel_window_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main tundrel_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "TUNDREL_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}"
                                  RUN_SERIAL TRUE TIMEOUT 120)
endfunction()
