#!/usr/bin/env bash
# Writes a release to dist/: the sdist; the Windows wheels for Python 2.7 and for every Python 3
# from 3.8 (stable ABI), 64-bit and 32-bit, from the MinGW-w64 builds (build-windows/,
# build-windows-32/); the Linux wheels for 2.7 and for every Python 3 from 3.8, which carry the
# stand-in for testing scripts offline (build-dist/); and QuilletCapture.exe (64-bit). Each wheel
# and the sdist pass "twine check". Needs the packages of "install-deps.sh --windows".
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
jobs=$(nproc)
dist=dist
work=build-dist
rm -rf "$dist" "$work"
mkdir -p "$dist" "$work"

# The sdist first: every wheel's metadata is the one it declares.
"$SYSTEM_PYTHON3" setup.py -q sdist -d "$dist" >/dev/null
sdist=$(ls "$dist"/*.tar.gz)

pack() {  # pack <module file> <tag>
  "$SYSTEM_PYTHON3" packaging/pack_wheel.py "$1" "$2" "$sdist" "$dist" >/dev/null
}

for bits in 64 32; do
  build=$(configure_windows "$bits")
  targets=(Quillet_python27 Quillet_abi3)
  if [[ $bits == 64 ]]; then
    targets+=(QuilletCapture)
    arch=win_amd64
  else
    arch=win32
  fi
  cmake --build "$build" -j "$jobs" --target "${targets[@]}" -- --no-print-directory >/dev/null
  pack "$build/python27/Quillet.pyd" "cp27-cp27m-$arch"
  pack "$build/abi3/Quillet.pyd" "cp38-abi3-$arch"
  if [[ $bits == 64 ]]; then
    cp "$build/bin/QuilletCapture.exe" "$dist/"
  fi
done

# Linux, Python 2.7: the interpreter has no wheel package, so its module is built by setup.py
# and packed like the Windows ones, with the tag that interpreter's pip accepts.
"$PYTHON2" setup.py -q build -b "$work/py27" >/dev/null
tag=$("$PYTHON2" -c '
import distutils.util, sysconfig
abi = "cp27" + ("m" if sysconfig.get_config_var("WITH_PYMALLOC") else "") + \
      ("u" if sysconfig.get_config_var("Py_UNICODE_SIZE") == 4 else "")
print("%s-%s-%s" % ("cp27", abi, distutils.util.get_platform().replace("-", "_").replace(".", "_")))')
pack "$(ls "$work"/py27/lib*/Quillet.so)" "$tag"

# Linux, Python 3: one module on the limited API for 3.8 and later.
"$SYSTEM_PYTHON3" setup.py -q build -b "$work/abi3" build_ext -j "$jobs" \
  bdist_wheel --py-limited-api=cp38 --bdist-dir "$work/abi3-wheel" -d "$dist" >/dev/null

twine check --strict "$dist"/*.whl "$dist"/*.tar.gz
ls -1 "$dist"
