# -DVORBLOX_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report fails the run.
option(VORBLOX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(VORBLOX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# -DVORBLOX_FUZZ=ON (with clang) builds everything for libFuzzer, with the
# same sanitizers, and adds the fuzz targets.
option(VORBLOX_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(VORBLOX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
