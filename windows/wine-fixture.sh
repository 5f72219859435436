#!/bin/sh
# wine-fixture.sh start <wine loader> <wineserver> <state dir> <probe.exe>: creates the private
#   prefix (of WINEARCH's kind), starts a persistent wineserver and runs the probe. When Wine
#   cannot start, the reason goes to <state dir>/unavailable (read by run-in-wine.sh) and the
#   fixture reports itself skipped.
# wine-fixture.sh stop <wine loader> <wineserver> <state dir>: stops that wineserver.
action=$1
wine=$2
wineserver=$3
state=$4
probe=$5
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
  [ -x "$wine" ] || unavailable "$wine not found (Debian packages ${WINE_PACKAGES:-wine})"
  [ -x "$wineserver" ] || unavailable "$wineserver not found (Debian package wine)"
  # A loader the kernel cannot execute (a 32-bit one where 32-bit programs are not supported)
  # fails here, before any prefix exists.
  version=$("$wine" --version 2>&1) ||
    unavailable "$wine does not run on this machine: $version"
  # Exit status 2 means a server for this prefix already runs: fine.
  "$wineserver" -p >/dev/null 2>&1 </dev/null
  # Output goes to a file: processes the prefix creation leaves behind must not hold ctest's pipe.
  timeout 240 "$wine" "$probe" >"$state/probe.log" 2>&1 </dev/null
  status=$?
  if [ $status -ne 0 ] || ! grep -q "wine probe ok" "$state/probe.log"; then
    "$wineserver" -k >/dev/null 2>&1
    unavailable "$wine could not run a Windows program (exit status $status): $(tail -n 3 "$state/probe.log" | tr '\r\n' '  ')"
  fi
  echo "$version ready in $WINEPREFIX"
  ;;
stop)
  "$wineserver" -k >/dev/null 2>&1
  exit 0
  ;;
*)
  echo "usage: wine-fixture.sh start|stop <wine loader> <wineserver> <state dir> [probe.exe]" >&2
  exit 2
  ;;
esac
