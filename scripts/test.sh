#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build for Python 2.7 (ctest in build/), the
# Python 3 build (build-py3/: the whole suite on 3.13, the scenario tests on 3.8-3.12), the same
# suite built with AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/: 2.7 and
# 3.13), then the Windows build under Wine (build-windows/). All run even when one fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
status=0
bash scripts/build.sh -DQUILLET_TESTS=ON
(cd build && ctest --output-on-failure -j "$(nproc)") || status=1
bash scripts/test-python3.sh || status=1
bash scripts/test-sanitizers.sh || status=1
bash scripts/test-windows.sh || status=1
exit $status
