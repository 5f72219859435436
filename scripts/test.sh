#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build (ctest in build/), the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/), then the Windows build
# under Wine (build-windows/). All run even when one fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
status=0
bash scripts/build.sh -DQUILLET_TESTS=ON
(cd build && ctest --output-on-failure -j "$(nproc)") || status=1
bash scripts/test-sanitizers.sh || status=1
bash scripts/test-windows.sh || status=1
exit $status
