# -DVORBLOX_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report fails the run.
option(VORBLOX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VORBLOX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
  # Optimised, GCC's instrumented code gives false "may be used uninitialized"
  # reports inside the standard library (std::regex); the plain build keeps
  # the warning.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

# -DVORBLOX_FUZZ=ON (with clang) builds everything for libFuzzer, with the
# same sanitizers, and adds the fuzz targets.
option(VORBLOX_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(VORBLOX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
