#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing (as root, with apt-get).
# Usage: install-deps.sh [--windows]   (--windows adds MinGW-w64 and Wine, 64-bit and 32-bit,
# and the release tools)
set -euo pipefail

# python3-*: Debian's Python 3 builds the wheel and installs into a virtual environment in the
# install test; mypy (its stubtest) checks Quillet.pyi and python3-jsonschema the inventory's JSON.
packages=(cmake g++ make libgtest-dev python3-dev python3-pip python3-setuptools python3-wheel
          python3-venv mypy python3-jsonschema)
if [[ "${1:-}" == "--windows" ]]; then
  # wine32 is an i386 package: the machine needs the i386 architecture first.
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev g++-mingw-w64-i686-posix
             mingw-w64-i686-dev wine wine64 wine32:i386 googletest twine)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

source "$(dirname "$0")/common.sh"
python=$(main_python)
if [[ ! -x "$python" ]]; then
  echo "Python not found${python:+ at $python} (set PYTHON to an interpreter, 2.7 or 3.6+)" >&2
  exit 1
fi
