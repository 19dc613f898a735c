#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine harness (CTest's emulator).
# The prefix follows the program's word size, read from its PE header.
set -euo pipefail
here=$(dirname "$0")
exe=$1
machine=$(od -An -tx2 -j "$(( $(od -An -tu4 -j60 -N4 "$exe") + 4 ))" -N2 "$exe" | tr -d ' ')
case "$machine" in
  014c) export FOLHAVIDA_WINE_BITS=32 ;;
  8664) export FOLHAVIDA_WINE_BITS=64 ;;
  *) echo "wine-run: $exe is not a Windows program" >&2; exit 2 ;;
esac
source "$here/wine-env.sh"
state=$FOLHAVIDA_HARNESS/state
keepalive=$FOLHAVIDA_HARNESS/keepalive$FOLHAVIDA_WINE_BITS
# The harness is started once; later programs only check that its display and keep-alive run.
if [ ! -f "$state" ] || ! folhavida_alive "$(sed -n 's/^XVFB_PID=//p' "$state")" \
   || [ ! -f "$keepalive.ready" ] || ! folhavida_alive "$(cat "$keepalive.pid" 2>/dev/null)"; then
  "$here/harness.sh" start
fi
source "$state"
export DISPLAY=$XVFB_DISPLAY
# About once in several thousand starts under load, a program ends with a failure status before
# it has written anything. The test programs write without buffering, and GoogleTest's first line
# comes before any test, so such a run has run no test: it is repeated once, and said so. A fault
# of ours that kills a program before its first line fails the second time as well; a run that
# wrote anything stands as it is.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  status=0
  "$FOLHAVIDA_WINE" "$@" >"$out" 2>&1 || status=$?
  cat "$out"
  if [ "$status" = 0 ] || [ -s "$out" ] || [ "$attempt" = 2 ]; then exit "$status"; fi
  note="wine-run: $exe ended with status $status before writing anything; starting it once more"
  echo "$note" >&2
  echo "$(date -u +%FT%TZ) $note $*" >>"$FOLHAVIDA_CACHE/wine-run-repeats.log"  # passing runs' output is not shown
done
