#!/bin/sh
# run-in-wine.sh <wine loader> <state dir> <program.exe> [arguments...]
# Runs a Windows program under Wine in the build's private prefix, or reports the skip that the
# fixture recorded. A UTF-8 locale makes the ANSI code page (1252) conversion of arguments
# the same on every machine.
wine=$1
state=$2
shift 2
if [ -f "$state/unavailable" ]; then
  echo "SKIPPED: Wine cannot start: $(cat "$state/unavailable")"
  exit 1
fi
WINEPREFIX="$state/prefix"
WINEDEBUG=-all
LANG=C.UTF-8
LC_ALL=C.UTF-8
export WINEPREFIX WINEDEBUG LANG LC_ALL
exec "$wine" "$@"
