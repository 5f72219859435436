#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --windows
bash scripts/build.sh -DQUILLET_TESTS=ON
(cd build && ctest --output-on-failure -j "$(nproc)")
