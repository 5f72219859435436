# Sourced by the scripts: the one place for the interpreter, MinGW-w64 and Wine paths they use.
# Each value can be overridden from the environment.

PYENV_VERSIONS=${PYENV_VERSIONS:-/root/.pyenv/versions}

# pyenv_python <X.Y>: the newest installed release of that minor version (e.g. 3.9 ->
# .../3.9.18/bin/python3.9), or nothing. The real binary, never a pyenv shim: a shim depends
# on the active version.
pyenv_python() {
  ls -d "$PYENV_VERSIONS/$1".*/bin/"python$1" 2>/dev/null | sort -V | tail -n 1
}

PYTHON2=${PYTHON2:-$(pyenv_python 2.7)}
# Debian's own Python 3: it has setuptools, wheel, pip and twine from Debian packages.
SYSTEM_PYTHON3=${SYSTEM_PYTHON3:-/usr/bin/python3}

# Wine's loaders (64-bit; 32-bit from the i386 package wine32) and its server.
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINE32=${WINE32:-/usr/lib/wine/wine}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}

# The Windows build folders and their toolchains: 64-bit (everything) and 32-bit (the module
# and the tests of what differs between the two).
WINDOWS_BUILD_DIR=${QUILLET_WINDOWS_BUILD_DIR:-build-windows}
WINDOWS32_BUILD_DIR=${QUILLET_WINDOWS32_BUILD_DIR:-build-windows-32}
MINGW64_TOOLCHAIN=cmake/mingw-w64-x86_64.toolchain.cmake
MINGW32_TOOLCHAIN=cmake/mingw-w64-i686.toolchain.cmake

# configure_windows <64|32>: configures that Windows build folder (from the tree's root).
configure_windows() {
  local bits=$1 build toolchain wine
  if [[ $bits == 64 ]]; then
    build=$WINDOWS_BUILD_DIR toolchain=$MINGW64_TOOLCHAIN wine=$WINE64
  else
    build=$WINDOWS32_BUILD_DIR toolchain=$MINGW32_TOOLCHAIN wine=$WINE32
  fi
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain" -DQUILLET_PYTHON2="$PYTHON2" \
        -DQUILLET_WINE="$wine" -DQUILLET_WINESERVER="$WINESERVER" >/dev/null
  echo "$build"
}
