# Instrumented builds.
#
# VELKORA_SANITIZE compiles and links everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report ends the program with an error, so a
# test that triggers one fails.
#
# VELKORA_FUZZ (clang only) adds libFuzzer's coverage instrumentation to every
# object and builds the fuzz targets of tests/fuzz. The test programs of the
# same build link without libFuzzer, so one build folder serves both.
option(VELKORA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VELKORA_FUZZ "Build the libFuzzer targets (clang; implies VELKORA_SANITIZE)" OFF)

if(VELKORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VELKORA_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++-14)")
  endif()
  set(VELKORA_SANITIZE ON CACHE BOOL "" FORCE)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(VELKORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
