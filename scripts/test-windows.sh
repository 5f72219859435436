#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 in build-windows/ and runs their tests under Wine
# (ctest there). Needs the packages of "install-deps.sh --windows". Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUILLET_WINDOWS_BUILD_DIR:-build-windows}
python=${PYTHON2:-/root/.pyenv/versions/2.7.18/bin/python2.7}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.toolchain.cmake" \
      -DQUILLET_PYTHON2="$python" >/dev/null
cmake --build "$build" -j "$jobs" -- --no-print-directory >/dev/null
status=0
(cd "$build" && ctest --output-on-failure -j "$jobs" "$@") || status=$?
# ctest lists skipped tests without their output: say why Wine did not run them.
if [[ -f "$build/wine/unavailable" ]]; then
  echo "Windows tests skipped: Wine cannot start: $(cat "$build/wine/unavailable")"
fi
exit $status
