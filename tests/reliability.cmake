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

# libFuzzer targets, in a build of their own configured with clang and
# -DTG_FUZZ=ON. The core is compiled again here with coverage and the
# sanitizers; the seeds come from the game's own code.
option(TG_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(TG_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TG_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  set(FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  get_target_property(CORE_SOURCES tumblegrid_core SOURCES)
  list(TRANSFORM CORE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
  add_library(fuzz_core STATIC ${CORE_SOURCES}
    support/seams.cpp support/headless.cpp fuzz/fuzz_support.cpp fault/datafile_image.cpp)
  # The same folders, libraries and generated headers (the window icon) as the core.
  get_target_property(CORE_INCLUDES tumblegrid_core INCLUDE_DIRECTORIES)
  get_target_property(CORE_LIBRARIES tumblegrid_core LINK_LIBRARIES)
  get_target_property(CORE_DEPENDENCIES tumblegrid_core MANUALLY_ADDED_DEPENDENCIES)
  target_include_directories(fuzz_core PUBLIC ${CORE_INCLUDES} ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(fuzz_core PUBLIC ${FUZZ_FLAGS} -fsanitize=fuzzer-no-link
    -fsanitize-coverage-ignorelist=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/coverage-ignore.txt)
  target_link_libraries(fuzz_core PUBLIC ${CORE_LIBRARIES})
  if(CORE_DEPENDENCIES)
    add_dependencies(fuzz_core ${CORE_DEPENDENCIES})
  endif()
  target_link_options(fuzz_core PUBLIC ${FUZZ_FLAGS})

  add_executable(fuzzseeds fuzz/fuzzseeds.cpp support/seams.cpp support/headless.cpp fault/datafile_image.cpp)
  target_link_libraries(fuzzseeds PRIVATE tumblegrid_core)
  target_include_directories(fuzzseeds PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

  set(FUZZ_SEEDS ${CMAKE_BINARY_DIR}/fuzz-seeds)
  add_custom_command(OUTPUT ${FUZZ_SEEDS}/written
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${FUZZ_SEEDS}
    COMMAND fuzzseeds ${FUZZ_SEEDS} ${CMAKE_BINARY_DIR}/tumblegrid.dat
    COMMAND tumblegrid-scores encode ${CMAKE_SOURCE_DIR}/assets/highscores.txt ${FUZZ_SEEDS}/scorefile/initial
    COMMAND tumblegrid-scores encode ${CMAKE_SOURCE_DIR}/assets/highscores.txt ${FUZZ_SEEDS}/decode/initial
    COMMAND ${CMAKE_COMMAND} -E touch ${FUZZ_SEEDS}/written
    DEPENDS fuzzseeds tumblegrid-scores
    COMMENT "Writing the fuzz seed corpora")
  add_custom_target(fuzz_seeds DEPENDS ${FUZZ_SEEDS}/written)
  # The datafile seeds and target start from the real datafile.
  add_dependencies(fuzz_seeds game_assets)

  set(FUZZ_SECONDS 20 CACHE STRING "How long each fuzz test runs")
  foreach(target scorefile decode rules entry settings datafile)
    add_executable(fuzz_${target} fuzz/fuzz_${target}.cpp)
    target_link_libraries(fuzz_${target} PRIVATE fuzz_core)
    target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_${target} fuzz_seeds)
    # The working corpus (fuzz-corpus) grows from run to run; a finding
    # fails the test and leaves its input in fuzz-findings. The targets
    # work in a folder of their own, hence the absolute paths.
    add_test(NAME fuzz_${target}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        sh -c "mkdir -p $1 $2 && exec \"$0\" -max_total_time=${FUZZ_SECONDS} -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 -artifact_prefix=$2/${target}- $1 ${FUZZ_SEEDS}/${target}"
        $<TARGET_FILE:fuzz_${target}> ${CMAKE_BINARY_DIR}/fuzz-corpus/${target} ${CMAKE_BINARY_DIR}/fuzz-findings
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(fuzz_${target} PROPERTIES LABELS fuzz TIMEOUT 300)
  endforeach()
endif()

# Fault injection on the high-score save: a preloaded shim breaks or kills
# each system call of the save in turn.
add_library(savefault MODULE fault/savefault.c)
set_target_properties(savefault PROPERTIES PREFIX "lib" OUTPUT_NAME savefault)
target_link_libraries(savefault PRIVATE ${CMAKE_DL_LIBS})
if(TG_SANITIZE)
  target_compile_options(savefault PRIVATE -fno-sanitize=all)
  target_link_options(savefault PRIVATE -fno-sanitize=all)
endif()
add_executable(savedriver fault/savedriver.cpp support/seams.cpp)
target_link_libraries(savedriver PRIVATE tumblegrid_core)
target_include_directories(savedriver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME save_faults COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fault/test_save_faults.sh ${CMAKE_BINARY_DIR})
set_tests_properties(save_faults PROPERTIES LABELS unit TIMEOUT 120)
add_dependencies(savedriver savefault game_assets)

# Pipes, devices and backups beside the file, and the save as a player
# without root's powers: a read-only folder, a link, a read-only file.
add_test(NAME scorefile_edges
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fault/test_scorefile_edges.sh ${CMAKE_BINARY_DIR})
set_tests_properties(scorefile_edges PROPERTIES LABELS unit TIMEOUT 120)

# In the sanitizer build: proof that a report fails the run.
if(TG_SANITIZE)
  add_executable(sanitizer_canary fault/sanitizer_canary.cpp)
  add_test(NAME sanitizer_canary
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fault/test_sanitizer_canary.sh $<TARGET_FILE:sanitizer_canary>)
  set_tests_properties(sanitizer_canary PROPERTIES LABELS unit TIMEOUT 60)
endif()

# The in-process figures of scripts/perf-report.
add_executable(perfprobe soak/perfprobe.cpp support/seams.cpp)
target_link_libraries(perfprobe PRIVATE tumblegrid_core)
target_include_directories(perfprobe PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
if(XDAMAGE_LIB)
  add_executable(firstframe soak/firstframe.c)
  target_link_libraries(firstframe PRIVATE ${XDAMAGE_LIB} X11::Xtst X11::X11)
endif()
