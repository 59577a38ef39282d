# Cross-compiles the 32-bit Windows build with MinGW-w64 (Debian's
# g++-mingw-w64-i686) against its own Win32, DirectDraw and DirectInput
# headers and import libraries. Programs built here run under Wine, which is
# also how ctest runs the tests.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VORBLOX_MINGW_PREFIX i686-w64-mingw32)
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
# Wine prefix of the build directory's own (made on first use).
find_program(VORBLOX_WINE wine)
if(VORBLOX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/../tools/wine/wine-run ${CMAKE_BINARY_DIR}/wineprefix)
endif()
