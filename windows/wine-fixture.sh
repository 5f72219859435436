#!/bin/sh
# wine-fixture.sh start <wine64> <state dir> <probe.exe>: creates the private prefix, starts a
#   persistent wineserver and runs the probe. When Wine cannot start, the reason goes to
#   <state dir>/unavailable (read by run-in-wine.sh) and the fixture reports itself skipped.
# wine-fixture.sh stop <wine64> <state dir>: stops that wineserver.
action=$1
wine64=$2
state=$3
probe=$4
wineserver=$(dirname "$wine64")/wineserver
WINEPREFIX="$state/prefix"
WINEDEBUG=-all
export WINEPREFIX WINEDEBUG

unavailable() {
  echo "$*" >"$state/unavailable"
  echo "SKIPPED: Wine cannot start: $*"
  exit 1
}

case $action in
start)
  mkdir -p "$WINEPREFIX" || exit 1
  rm -f "$state/unavailable"
  [ -x "$wine64" ] || unavailable "$wine64 not found (Debian packages wine and wine64)"
  [ -x "$wineserver" ] || unavailable "$wineserver not found (Debian package wine64)"
  # Exit status 2 means a server for this prefix already runs: fine.
  "$wineserver" -p >/dev/null 2>&1 </dev/null
  # Output goes to a file: processes the prefix creation leaves behind must not hold ctest's pipe.
  timeout 240 "$wine64" "$probe" >"$state/probe.log" 2>&1 </dev/null
  status=$?
  if [ $status -ne 0 ] || ! grep -q "wine probe ok" "$state/probe.log"; then
    "$wineserver" -k >/dev/null 2>&1
    unavailable "$wine64 could not run a Windows program (exit status $status): $(tail -n 3 "$state/probe.log" | tr '\r\n' '  ')"
  fi
  echo "$("$wine64" --version) ready in $WINEPREFIX"
  ;;
stop)
  "$wineserver" -k >/dev/null 2>&1
  exit 0
  ;;
*)
  echo "usage: wine-fixture.sh start|stop <wine64> <state dir> [probe.exe]" >&2
  exit 2
  ;;
esac
