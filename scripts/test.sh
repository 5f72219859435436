#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build (ctest in build/), then the Windows
# build under Wine (ctest in build-windows/). Both run even when the first fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
status=0
bash scripts/build.sh -DQUILLET_TESTS=ON
(cd build && ctest --output-on-failure -j "$(nproc)") || status=1
bash scripts/test-windows.sh || status=1
exit $status
