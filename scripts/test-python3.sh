#!/usr/bin/env bash
# Builds the one module for every Python 3.8+ (Quillet.abi3.so, on the limited API) in build-py3/
# and runs: the whole suite under the main Python 3 (PYTHON3, default pyenv's 3.13), and the
# module's scenario tests (traces, results, faults, leak line) with that same file under every
# other Python 3.8-3.12 that pyenv has. Everything is built once for all of them. A missing
# interpreter is reported as skipped, not failed.
# Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build=${QUILLET_PY3_BUILD_DIR:-build-py3}

main=${PYTHON3:-$(pyenv_interpreter 3.13)}
if [[ -z "$main" || ! -x "$main" ]]; then
  echo "Python 3 tests skipped: pyenv has no Python 3.13 (set PYTHON3 to an interpreter)"
  exit 0
fi
extras=()
for minor in 3.8 3.9 3.10 3.11 3.12; do
  found=$(pyenv_interpreter "$minor")
  if [[ -n "$found" && "$found" != "$main" ]]; then
    extras+=("$found")
  elif [[ -z "$found" ]]; then
    echo "Python $minor scenario tests skipped: pyenv has no Python $minor"
  fi
done
echo "Python 3 suite under $main; scenario tests also under: ${extras[*]:-none}"
joined=$(IFS=';'; echo "${extras[*]:-}")
PYTHON="$main" QUILLET_PRESET=py3 QUILLET_BUILD_DIR="$build" bash scripts/build.sh \
  -DQUILLET_EXTRA_PYTHONS="$joined"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
