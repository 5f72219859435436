#!/usr/bin/env bash
# Configures and builds the Linux tree (default build/) for one Python interpreter.
# Usage: build.sh [cmake configure arguments...]
#   PYTHON              the interpreter to build the module for (default pyenv's 2.7)
#   QUILLET_PRESET      the configure preset of CMakePresets.json (default linux)
#   QUILLET_BUILD_DIR   the build folder (default build)
#   QUILLET_BUILD_TARGET  builds one target only
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build=${QUILLET_BUILD_DIR:-build}
cmake --preset "${QUILLET_PRESET:-linux}" -B "$build" -DQUILLET_PYTHON="$(main_python)" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)" ${QUILLET_BUILD_TARGET:+--target "$QUILLET_BUILD_TARGET"} -- --no-print-directory >/dev/null
