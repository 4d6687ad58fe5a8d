# Native (Linux) build: unit tests of the portable core under ASan+UBSan,
# the command-line scanner and the benchmark.
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)

# Run once, under the sanitizers (the Windows build runs the scan's and the addresses' tables
# with the release's own flags). The tests' own code without optimisation, which halves its
# compile time.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_library(core_san STATIC ${CORE_SOURCES})
target_include_directories(core_san PUBLIC ${CMAKE_SOURCE_DIR})
# -g1: line tables for the reports, in less time than full debug information.
target_compile_options(core_san PRIVATE ${SANITIZE} -O1 -g1)
add_executable(core_tests_sanitized ${NATIVE_TEST_SOURCES})
target_compile_options(core_tests_sanitized PRIVATE ${SANITIZE} -O0 -g1)
target_link_options(core_tests_sanitized PRIVATE ${SANITIZE})
target_link_libraries(core_tests_sanitized PRIVATE core_san GTest::gtest_main)
add_test(NAME core_tests_sanitized COMMAND core_tests_sanitized)

add_executable(scanpage tools/scanpage.cpp)
target_link_libraries(scanpage PRIVATE core)
add_test(NAME scanpage_table
  COMMAND ${CMAKE_SOURCE_DIR}/tests/scanpage_table.sh $<TARGET_FILE:scanpage>)

# Built for make bench only.
add_executable(scan_benchmark EXCLUDE_FROM_ALL tests/bench/scan_benchmark.cpp)
target_link_libraries(scan_benchmark PRIVATE core benchmark::benchmark)

# A short fuzzing run proves the targets still build and run (tools/fuzz.sh for longer).
find_program(CLANGXX clang++)
if(CLANGXX)
  add_test(NAME fuzz_smoke COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz.sh 5 ${CMAKE_BINARY_DIR}/fuzz)
  set_tests_properties(fuzz_smoke PROPERTIES TIMEOUT 300)
endif()
