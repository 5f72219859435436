#!/usr/bin/env bash
# Builds the module and runs the main job: the inventory of the sample initiator host
# (examples/sample_initiator.mof). The module's traces go to stdout, the report to stderr.
# Extra arguments go to the example (e.g. --quiet, --set-period 30, --json). PYTHON=<interpreter>
# runs it on another Python (2.7 or 3.x; default pyenv's 2.7), built in build-<interpreter name>/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
bash scripts/install-deps.sh
python=$(main_python)
if [[ -n "${PYTHON:-}" ]]; then
  export QUILLET_BUILD_DIR=build-$(basename "$python")
fi
build=${QUILLET_BUILD_DIR:-build}
PYTHON="$python" QUILLET_BUILD_TARGET=Quillet bash scripts/build.sh

# The example may store a new period: give it a copy of the sample repository.
repository=$(mktemp --suffix=.mof)
trap 'rm -f "$repository"' EXIT
cp examples/sample_initiator.mof "$repository"

# The extra arguments come last, so that `--json` is not given an adapter name for its FILE.
WMISIM_REPOSITORY="$repository" PYTHONPATH="$build/python" "$python" examples/inventory.py \
  'PCI\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\4&1c3f0a2b&0&00E0_0' \
  'PCI\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\4&1c3f0a2b&0&00E1_1' "$@"
