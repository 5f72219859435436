# Sourced by the scripts: the one place for the interpreter, MinGW-w64 and Wine paths they use.
# The environment overrides each (PYTHON, PYTHON2, PYTHON3, PYENV_ROOT, SYSTEM_PYTHON3, WINE64,
# WINE32, WINESERVER, QUILLET_WINDOWS_BUILD_DIR, QUILLET_WINDOWS32_BUILD_DIR).

# The newest pyenv install of a Python version: "pyenv_interpreter 3.9" prints
# <pyenv root>/versions/3.9.<newest>/bin/python3.9, or nothing when pyenv has no 3.9. The real
# binary, never a pyenv shim: a shim depends on the active version.
pyenv_interpreter() {
  ls -d "${PYENV_ROOT:-$HOME/.pyenv}/versions/$1".*/bin/"python$1" 2>/dev/null | sort -V | tail -n 1
}

PYTHON2=${PYTHON2:-$(pyenv_interpreter 2.7)}
# Debian's own Python 3: it has setuptools, wheel, pip and twine from Debian packages.
SYSTEM_PYTHON3=${SYSTEM_PYTHON3:-/usr/bin/python3}

# The interpreter the module is built for and the Python tests run on: PYTHON, else PYTHON2.
main_python() {
  echo "${PYTHON:-$PYTHON2}"
}

# Wine's loaders (64-bit; 32-bit from the i386 package wine32) and its server, run directly
# rather than through the wrappers in PATH.
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINE32=${WINE32:-/usr/lib/wine/wine}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}

# The Windows build folders: 64-bit (everything) and 32-bit (the module and the tests of what
# differs between the two), configured by the presets windows and windows32.
WINDOWS_BUILD_DIR=${QUILLET_WINDOWS_BUILD_DIR:-build-windows}
WINDOWS32_BUILD_DIR=${QUILLET_WINDOWS32_BUILD_DIR:-build-windows-32}

# configure_windows <64|32>: configures that Windows build folder (from the tree's root) and
# prints its name.
configure_windows() {
  local build preset wine
  if [[ $1 == 64 ]]; then
    build=$WINDOWS_BUILD_DIR preset=windows wine=$WINE64
  else
    build=$WINDOWS32_BUILD_DIR preset=windows32 wine=$WINE32
  fi
  cmake --preset "$preset" -B "$build" -DQUILLET_PYTHON2="$PYTHON2" -DQUILLET_WINE="$wine" \
        -DQUILLET_WINESERVER="$WINESERVER" >/dev/null
  echo "$build"
}
