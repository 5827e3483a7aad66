include(GoogleTest)

# add_unit_test(<name> SOURCES <file>... [LIBS <target>...])
#
# One GoogleTest executable per module (tests/<module>/), linked with the shared test helpers
# and registered with CTest test by test, so that `ctest -j` spreads single tests over cores.
function(add_unit_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBS")
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} quellor_testing GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QUELLOR_BIN_DIR=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
endfunction()
