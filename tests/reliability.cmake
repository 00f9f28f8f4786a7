# The reliability suite: bad datafiles, a soak of whole rounds, fault
# injection on the high-score save, sanitizer self-checks and libFuzzer
# targets. Included at the end of tests/CMakeLists.txt.

# Takes a datafile apart so tests can make damaged copies of the real one.
add_library(datafile_image STATIC fault/datafile_image.cpp)
target_link_libraries(datafile_image PUBLIC test_support)

# Damaged copies of the datafile for the end-to-end cases.
add_executable(baddatafile fault/baddatafile.cpp)
target_link_libraries(baddatafile PRIVATE datafile_image)

# Bad datafiles through the game's own load and check, headless.
add_executable(datafile_tests unit/test_datafile.cpp)
target_link_libraries(datafile_tests PRIVATE datafile_image GTest::gtest_main)
add_dependencies(datafile_tests game_assets)
gtest_discover_tests(datafile_tests
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  PROPERTIES LABELS unit
  DISCOVERY_TIMEOUT 60)

# A thousand seeded rounds through the real fall step and rule core.
add_executable(soak_tests soak/test_soak.cpp)
target_link_libraries(soak_tests PRIVATE test_support GTest::gtest_main)
gtest_discover_tests(soak_tests
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  PROPERTIES LABELS unit
  DISCOVERY_TIMEOUT 60)
