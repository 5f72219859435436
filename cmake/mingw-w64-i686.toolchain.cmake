# Cross build for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686-posix), run under
# 32-bit Wine (Debian's wine32). Usage:
#   cmake -S . -B build-windows-32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.toolchain.cmake
set(MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
# Debian's 32-bit loader is "wine" in /usr/lib/wine.
set(MINGW_WINE wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.toolchain.cmake)
