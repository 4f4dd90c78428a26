# Host build: platform-free units with sanitizers, GoogleTest unit tests, Google Benchmark.
enable_testing()
include(GoogleTest)
find_package(GTest REQUIRED)

set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(core STATIC ${CORE_SOURCES})
target_include_directories(core PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(core PRIVATE ${PRODUCT_CHARSET_FLAGS} PUBLIC ${SANITIZE})
target_link_options(core PUBLIC ${SANITIZE})

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE core GTest::gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST)

# The benchmark measures optimised code: its own copy of the units, without sanitizers.
find_package(benchmark QUIET)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
if(benchmark_FOUND AND BENCH_SOURCES)
  add_library(core_fast STATIC ${CORE_SOURCES})
  target_include_directories(core_fast PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(core_fast PRIVATE -O2 ${PRODUCT_CHARSET_FLAGS})
  add_executable(benchmarks ${BENCH_SOURCES})
  target_compile_options(benchmarks PRIVATE -O2)
  target_link_libraries(benchmarks PRIVATE core_fast benchmark::benchmark_main)
  # A short run as a test keeps the benchmark building and working; real numbers come from running it by hand.
  add_test(NAME benchmark_smoke COMMAND benchmarks --benchmark_min_time=0.01)
endif()
