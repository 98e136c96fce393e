# Helpers shared by every folder's CMakeLists.txt.

# GoogleTest from Debian's sources, built with whichever compiler this tree uses,
# so the same suites build natively and with the MinGW cross compiler.
macro(orvane_setup_gtest)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ${ORVANE_WINDOWS} CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
endmacro()

# orvane_add_test(NAME SOURCES... LIBS ...)
# One GoogleTest executable registered as one ctest entry. Under the Windows build ctest
# runs it through scripts/wine-run (the throwaway prefix); each run leaves a JUnit-style
# XML report in <build>/test-results for the closing summary.
function(orvane_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  set(results ${CMAKE_BINARY_DIR}/test-results)
  if(ORVANE_WINDOWS)
    add_test(NAME ${name}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run $<TARGET_FILE:${name}>
                     --gtest_output=xml:Z:${results}/${name}.xml)
    # They share one prefix, checked after the last of them (tests/prefix).
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED orvane_prefix)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${results}/${name}.xml)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# orvane_add_bench(NAME SOURCES... LIBS ...): bench_NAME for scripts/bench.
function(orvane_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${B_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${B_LIBS})
endfunction()

# orvane_add_fuzzer(NAME SOURCES... LIBS ...): fuzz_NAME for scripts/fuzz; the sources
# define LLVMFuzzerTestOneInput.
function(orvane_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(fuzz_${name} ${F_SOURCES})
  target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()

# orvane_symbol_table(TARGET): after each link, TARGET's table of function names beside it
# (<name without extension>.sym), from which the error report names the program's frames
# on systems whose debug help library cannot read the build's debug information.
function(orvane_symbol_table target)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/symbol_table.py
            ${CMAKE_NM} ${CMAKE_OBJDUMP} $<TARGET_FILE:${target}>
            $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.sym
    VERBATIM)
endfunction()
