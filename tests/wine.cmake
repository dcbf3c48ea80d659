# Every Windows test runs inside the test bed of testbed/wine/wine-env: one
# setup before the first and one teardown after the last, whatever -R selects.
set(wine_env ${CMAKE_SOURCE_DIR}/testbed/wine/wine-env)
add_test(NAME wine_env_start COMMAND ${wine_env} start ${TESSARA_WINE_DIR})
add_test(NAME wine_env_stop COMMAND ${wine_env} stop ${TESSARA_WINE_DIR})
set_tests_properties(wine_env_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine_env_stop PROPERTIES FIXTURES_CLEANUP wine)

# tessara_wine_test(NAME SOURCES...): a GoogleTest program that drives real
# windows in the virtual desktop. They share one desktop and one registry, so
# they never run at the same time.
function(tessara_wine_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE test_harness GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK desktop TIMEOUT 300)
endfunction()
