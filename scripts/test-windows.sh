#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64, 64-bit in build-windows/ and 32-bit (the modules
# and the tests of what differs between 32 and 64 bits) in build-windows-32/, runs their tests
# under Wine (ctest in each), then writes a release (scripts/dist.sh) and checks its wheels as
# pip installs them (scripts/check-wheels.sh). Needs the packages of "install-deps.sh --windows".
# Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
jobs=$(nproc)
status=0
for bits in 64 32; do
  build=$(configure_windows "$bits")
  cmake --build "$build" -j "$jobs" -- --no-print-directory >/dev/null
  echo "Windows tests, $bits-bit ($build):"
  (cd "$build" && ctest --output-on-failure -j "$jobs" "$@") || status=$?
  # ctest lists skipped tests without their output: say why Wine did not run them.
  if [[ -f "$build/wine/unavailable" ]]; then
    echo "$bits-bit Windows tests skipped: Wine cannot start: $(cat "$build/wine/unavailable")"
  fi
done
bash scripts/dist.sh || status=1
bash scripts/check-wheels.sh || status=1
exit $status
