# Sourced by the scripts: where they find the interpreters and Wine. The environment overrides
# each (PYTHON, PYTHON2, PYTHON3, PYENV_ROOT, WINE64, WINESERVER).

# The newest pyenv install of a Python version: "pyenv_interpreter 3.9" prints
# <pyenv root>/versions/3.9.<newest>/bin/python3.9, or nothing when pyenv has no 3.9.
pyenv_interpreter() {
  ls -d "${PYENV_ROOT:-$HOME/.pyenv}/versions/$1".*/bin/"python$1" 2>/dev/null | sort -V | tail -n 1
}

# The interpreter the module is built for and the Python tests run on: PYTHON, else PYTHON2 (the
# name older callers use), else pyenv's 2.7.
main_python() {
  echo "${PYTHON:-${PYTHON2:-$(pyenv_interpreter 2.7)}}"
}

# Wine's 64-bit loader and its server, run directly rather than through the wrappers in PATH.
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
