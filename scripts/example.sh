#!/usr/bin/env bash
# Builds the module and runs the main job: a smoke run of the module.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DQUILLET_TESTS=OFF
python=${PYTHON2:-/root/.pyenv/versions/2.7.18/bin/python2.7}
PYTHONPATH=build/python "$python" -c 'import Quillet; f = Quillet.WMIFacade(); f.printSomething(); Quillet.printSomethingGlobal()'
