# Cross-compiles the 64-bit Windows build with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64) against its own Win32, DirectDraw and DirectInput
# headers and import libraries; its programs run under 64-bit Wine. The same
# source as the 32-bit build, for 64-bit Windows and for machines that run
# no 32-bit programs.
#   cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VORBLOX_MINGW_PREFIX x86_64-w64-mingw32)
set(VORBLOX_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
