# The support and release promises under Wine: norda-cli.exe --save-snapshot against the test server,
# and the release archive unpacked and run. The archive is made first, as a fixture.
# NORDA_RELEASE_ARCHIVE comes from cmake/WindowsRelease.cmake.
add_executable(windows_support_tests ${CMAKE_CURRENT_LIST_DIR}/SupportReleaseTest.cpp)
target_link_libraries(windows_support_tests PRIVATE conv::run test_server windows_test_support GTest::gtest_main)
target_compile_definitions(windows_support_tests PRIVATE
  NORDA_RELEASE_ARCHIVE="${NORDA_RELEASE_ARCHIVE}"
  NORDA_CMAKE_COMMAND="${CMAKE_COMMAND}"
  NORDA_VERSION="${PROJECT_VERSION}")
add_dependencies(windows_support_tests norda-cli language_files)

add_test(NAME windows.release.archive COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
         WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(windows.release.archive PROPERTIES FIXTURES_SETUP release-archive)

gtest_discover_tests(windows_support_tests TEST_PREFIX "windows." DISCOVERY_TIMEOUT 300
  PROPERTIES RESOURCE_LOCK wine-registry ENVIRONMENT "LC_ALL=en_US.UTF-8" FIXTURES_REQUIRED release-archive TIMEOUT 900)
