#!/usr/bin/env bash
# Configures and builds the Linux tree in build/.
# Usage: build.sh [cmake configure arguments...]; QUILLET_BUILD_TARGET builds one target only.
set -euo pipefail
cd "$(dirname "$0")/.."
python=${PYTHON2:-/root/.pyenv/versions/2.7.18/bin/python2.7}
cmake -S . -B build -DPython2_EXECUTABLE="$python" "$@" >/dev/null
cmake --build build -j "$(nproc)" ${QUILLET_BUILD_TARGET:+--target "$QUILLET_BUILD_TARGET"} -- --no-print-directory >/dev/null
