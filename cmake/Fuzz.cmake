# Fuzz build (clang, libFuzzer): the platform-free units under ASan and UBSan, driven by operations
# decoded from the fuzzer's input. CTest runs each target briefly from its seed corpus;
# scripts/fuzz.sh runs them for longer.
enable_testing()

set(FUZZ_SANITIZE address,undefined)
# clang's -Wconversion also warns of every change of signedness, which g++ leaves to
# -Wsign-conversion in C++: the same warnings as the other builds.
add_compile_options(-Wno-sign-conversion)
# clang knows no Windows-1252 execution charset: the built-in texts stay UTF-8 here, and no target
# looks at their bytes.
add_library(core_fuzz STATIC ${CORE_SOURCES})
target_include_directories(core_fuzz PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests/fuzz)
target_compile_options(core_fuzz PUBLIC -fsanitize=fuzzer-no-link,${FUZZ_SANITIZE}
                       -fno-sanitize-recover=all -fno-omit-frame-pointer)

# name and the runs of its brief CTest run (a fixed seed and a fresh working corpus each time,
# so a CI run is repeatable; a few seconds each)
set(FUZZ_TARGETS pixel_canvas 40000 texture 6000 draw_button 200000 strings 200000)
while(FUZZ_TARGETS)
  list(POP_FRONT FUZZ_TARGETS name runs)
  add_executable(fuzz_${name} tests/fuzz/fuzz_${name}.cpp)
  target_link_libraries(fuzz_${name} PRIVATE core_fuzz)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,${FUZZ_SANITIZE})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/brief/${name})
  add_test(NAME fuzz_${name}
           COMMAND sh -c "rm -rf '${work}' && mkdir -p '${work}' && exec \"$0\" \"$@\""
                   $<TARGET_FILE:fuzz_${name}> -seed=1 -runs=${runs} -timeout=10
                   -artifact_prefix=${work}/ ${work} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name})
endwhile()
