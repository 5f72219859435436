#!/usr/bin/env bash
# Configures and builds the Linux tree (default build/) for one Python interpreter.
# Usage: build.sh [cmake configure arguments...]
#   PYTHON              the interpreter to build the module for (default pyenv's 2.7.18)
#   QUILLET_BUILD_DIR   the build folder (default build)
#   QUILLET_BUILD_TARGET  builds one target only
set -euo pipefail
cd "$(dirname "$0")/.."
python=${PYTHON:-${PYTHON2:-/root/.pyenv/versions/2.7.18/bin/python2.7}}
build=${QUILLET_BUILD_DIR:-build}
cmake -S . -B "$build" -DQUILLET_PYTHON="$python" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)" ${QUILLET_BUILD_TARGET:+--target "$QUILLET_BUILD_TARGET"} -- --no-print-directory >/dev/null
