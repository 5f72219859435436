#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 in build-windows/ and runs their tests under Wine
# (ctest there). Needs the packages of "install-deps.sh --windows". Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build=${QUILLET_WINDOWS_BUILD_DIR:-build-windows}
jobs=$(nproc)
# The build finds pyenv's python2.7 for the Wine tests' drivers itself; PYTHON2 names another.
cmake --preset windows -B "$build" ${PYTHON2:+"-DQUILLET_PYTHON2=$PYTHON2"} \
      -DQUILLET_WINE64="$WINE64" >/dev/null
cmake --build "$build" -j "$jobs" -- --no-print-directory >/dev/null
status=0
(cd "$build" && ctest --output-on-failure -j "$jobs" "$@") || status=$?
# ctest lists skipped tests without their output: say why Wine did not run them.
if [[ -f "$build/wine/unavailable" ]]; then
  echo "Windows tests skipped: Wine cannot start: $(cat "$build/wine/unavailable")"
fi
exit $status
