# Cross-compiles the 32-bit Windows build with MinGW-w64 (Debian's
# g++-mingw-w64-i686) against its own Win32, DirectDraw and DirectInput
# headers and import libraries. Programs built here run under Wine, which is
# also how ctest runs the tests.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VORBLOX_MINGW_PREFIX i686-w64-mingw32)
set(VORBLOX_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Windows XP runs on a Pentium, which lacks the Pentium Pro's conditional
# moves (CMOV, FCMOV) and FCOMI that the compiler's i686 default uses.
# Debian's MinGW runtime libraries are built for i686 all the same: the
# WindowsProcessor test counts what they bring in.
set(CMAKE_C_FLAGS_INIT "-march=i586 -mtune=generic")
set(CMAKE_CXX_FLAGS_INIT "-march=i586 -mtune=generic")
