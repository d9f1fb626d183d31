# The test programs' own code is most of what the project compiles and none of it ships: it is
# compiled without optimisation unless KEEP_OPTIMISATION, on GoogleTest, the common standard
# headers and HEADERS parsed once, precompiled. REUSE takes the headers another test target
# precompiled with the same code generation flags.
function(zav_test_build target)
  cmake_parse_arguments(PARSE_ARGV 1 test "KEEP_OPTIMISATION" "REUSE" "HEADERS")
  if(test_REUSE)
    target_precompile_headers(${target} REUSE_FROM ${test_REUSE})
  else()
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h> <gmock/gmock.h> <chrono>
      <filesystem> <functional> <map> <memory> <optional> <string> <vector> ${test_HEADERS})
  endif()
  if(NOT test_KEEP_OPTIMISATION)
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()
