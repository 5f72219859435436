#!/usr/bin/env bash
# Configures and builds the Linux tree in build/ (extra arguments go to cmake's configure step).
set -euo pipefail
cd "$(dirname "$0")/.."
python=${PYTHON2:-/root/.pyenv/versions/2.7.18/bin/python2.7}
cmake -S . -B build -DPython2_EXECUTABLE="$python" "$@" >/dev/null
cmake --build build -j "$(nproc)" -- --no-print-directory >/dev/null
