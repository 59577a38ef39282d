# What the two MinGW-w64 toolchain files share; each sets
# VORBLOX_MINGW_PREFIX (the compilers' target triple) and VORBLOX_WINE_ARCH
# (win32 or win64, the kind of Wine prefix its programs run in) first.
set(CMAKE_SYSTEM_NAME Windows)

# The win32-thread flavour. The posix one's C++ runtime locks through the
# winpthreads library, which -static links into every program and which
# imports kernel32 calls Windows XP does not have (GetTickCount64). The game
# has one thread; GoogleTest, built with gtest_disable_pthreads, uses Win32
# critical sections of its own and needs no std::mutex.
set(CMAKE_C_COMPILER ${VORBLOX_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${VORBLOX_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${VORBLOX_MINGW_PREFIX}-windres)
set(CMAKE_AR ${VORBLOX_MINGW_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${VORBLOX_MINGW_PREFIX}-ranlib CACHE FILEPATH "")

# Libraries and headers come from the MinGW-w64 sysroot only; programs
# (windres, wine) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VORBLOX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and gtest_discover_tests start the .exe files through Wine, in a
# Wine prefix of the build directory's own (made on first use) and with the
# Wine loader for this build's kind of programs. -DVORBLOX_RUN_UNDER_WINE=OFF
# for a machine that cannot run them (32-bit programs on a kernel without
# 32-bit support): the programs are built, and only the checks that read
# them without running them are registered as tests.
option(VORBLOX_RUN_UNDER_WINE "Run this build's programs (tests, generators) under Wine" ON)
find_program(VORBLOX_WINE wine)
if(VORBLOX_WINE AND VORBLOX_RUN_UNDER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/../tools/wine/wine-run --arch ${VORBLOX_WINE_ARCH} ${CMAKE_BINARY_DIR}/wineprefix)
endif()
