#!/usr/bin/env bash
# Checks the wheels in dist/ (written by dist.sh) as their users' pip would take them:
# - each Windows wheel is chosen by Debian's pip for Windows Python 2.7, 3.8 and 3.13 on each
#   architecture (--platform, --python-version, --abi as that interpreter's pip would ask),
#   and the Quillet.pyd it installs is read with objdump (windows/python/check_pyd.cmake):
#   the architecture's machine, the one export, imports from the interpreter DLL (python27.dll,
#   or python3.dll only for the stable ABI) and system DLLs only, each name in the .def;
# - the Linux wheels are installed by the pip of pyenv's 2.7, 3.8 and 3.13 (the stable-ABI
#   one for both 3.x) and answer a method against the sample repository under each.
# No Windows Python exists here: the Windows modules are inspected, never loaded.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
dist=dist
version=$(cat VERSION)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

quiet_pip() {  # quiet_pip <python> <pip arguments>...: pip's output only when it fails
  local python=$1 log=$scratch/pip.log
  shift
  if ! "$python" -m pip install --disable-pip-version-check --no-index --find-links "$dist" \
       --only-binary=:all: "$@" Quillet >"$log" 2>&1; then
    cat "$log"
    return 1
  fi
}

for arch in win_amd64 win32; do
  if [[ $arch == win_amd64 ]]; then objdump=x86_64-w64-mingw32-objdump; else objdump=i686-w64-mingw32-objdump; fi
  for python in 2.7 3.8 3.13; do
    nodot=${python/./}
    if [[ $python == 2.7 ]]; then
      abis=(--abi cp27m --abi none) dll=python27 def=python27-$arch.def init=initQuillet
      expected=cp27-cp27m-$arch
    else
      abis=(--abi "cp$nodot" --abi abi3 --abi none) dll=python3 def=python3.def init=PyInit_Quillet
      expected=cp38-abi3-$arch
    fi
    target=$scratch/$arch-$python
    if ! quiet_pip "$SYSTEM_PYTHON3" --platform "$arch" --python-version "$python" \
         --implementation cp "${abis[@]}" --target "$target"; then
      fail "pip found no wheel for Python $python on $arch"
      continue
    fi
    chosen=$(sed -n 's/^Tag: //p' "$target"/Quillet-*.dist-info/WHEEL)
    if [[ $chosen != "$expected" ]]; then
      fail "pip chose the $chosen wheel for Python $python on $arch, not $expected"
    fi
    if [[ -f Quillet.pyi && ! -f $target/Quillet.pyi ]]; then
      fail "the wheel for Python $python on $arch lacks Quillet.pyi"
    fi
    if cmake -DPYD="$target/Quillet.pyd" -DDEF="windows/python/$def" -DDLL="$dll.dll" \
         -DINIT="$init" -DARCH="$arch" -DOBJDUMP="$objdump" -P windows/python/check_pyd.cmake \
         >"$scratch/check.log" 2>&1; then
      echo "ok: Python $python on $arch installs the $chosen wheel, a Quillet.pyd for $dll.dll"
    else
      cat "$scratch/check.log"
      fail "Quillet.pyd for Python $python on $arch"
    fi
  done
done

# The module's answer from the sample repository: the period it stores, and the version.
probe='
import Quillet, sys
facade = Quillet.WMIFacade()
print("%s %s %s" % (Quillet.__file__.rsplit("/", 1)[-1], Quillet.__version__, facade.GetPDORemovePeriod()))'
repository=$PWD/examples/sample_initiator.mof
for python in 2.7 3.8 3.13; do
  interpreter=$(pyenv_interpreter "$python")
  module=Quillet.abi3.so
  [[ $python == 2.7 ]] && module=Quillet.so
  if [[ -z $interpreter ]]; then
    echo "skipped: no Python $python under pyenv"
    continue
  fi
  target=$scratch/linux-$python
  if ! quiet_pip "$interpreter" --target "$target"; then
    fail "pip of Python $python found no wheel"
    continue
  fi
  output=$(cd "$scratch" && WMISIM_REPOSITORY="$repository" PYTHONPATH="$target" \
           "$interpreter" -c "$probe" 2>&1) || true
  # The probe's line among the module's trace lines.
  answer=$(grep '^Quillet' <<<"$output" || true)
  if [[ $answer =~ ^${module//./\\.}\ $version\ [0-9]+$ ]]; then
    echo "ok: Python $python: $answer"
  else
    fail "Python $python with the Linux wheel answered: $output"
  fi
done

if ((failures)); then
  echo "$failures wheel check(s) failed"
  exit 1
fi
echo "all wheel checks passed"
