# The part of the MinGW-w64 cross builds that both architectures share; included by
# mingw-w64-x86_64.toolchain.cmake and mingw-w64-i686.toolchain.cmake after they set
# MINGW_PREFIX, CMAKE_SYSTEM_PROCESSOR and MINGW_WINE (the Wine loader of that architecture).
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex and friends.
find_program(MINGW_CXX NAMES ${MINGW_PREFIX}-g++-posix ${MINGW_PREFIX}-g++ REQUIRED)
find_program(MINGW_CC NAMES ${MINGW_PREFIX}-gcc-posix ${MINGW_PREFIX}-gcc REQUIRED)
set(CMAKE_C_COMPILER ${MINGW_CC})
set(CMAKE_CXX_COMPILER ${MINGW_CXX})
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs need nothing but system DLLs (and Ostrand.dll): libgcc, libstdc++ and winpthread
# are linked in. Under Wine a dynamically linked libstdc++ is not found (exit 53).
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

# Runs the .exe files (try_run, add_test with a target) under Wine.
find_program(MINGW_WINE_LOADER NAMES ${MINGW_WINE} PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(MINGW_WINE_LOADER NAMES ${MINGW_WINE})
if(MINGW_WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MINGW_WINE_LOADER})
endif()
