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
# A Wine start failure: about once in several thousand starts under load, Wine ends a program
# with a failure status before the program has written a single byte. The test programs write
# without buffering and GoogleTest's first line comes before any test, so such a run has run no
# test. That alone (a failure status and nothing at all on standard output and error) is started
# once more, and the run's own output says so; anything else stands as it is: a run that wrote
# anything, a run that passed, the second attempt. The output goes straight through as the program
# writes it, so a program ended at its time-out still shows how far it came.
wrote=$(mktemp)
trap 'rm -f "$wrote"' EXIT
for attempt in 1 2; do
  : >"$wrote"
  # tee passes every byte on at once (fd 3: this script's output); the file only keeps the first
  # byte, if one came (-p: tee goes on once head has ended).
  status=0
  "$FOLHAVIDA_WINE" "$@" 2>&1 | { tee -a -p /dev/fd/3 | head -c 1 >"$wrote"; } 3>&1 || status=${PIPESTATUS[0]}
  if [ "$status" = 0 ] || [ -s "$wrote" ] || [ "$attempt" = 2 ]; then exit "$status"; fi
  note="wine-run: Wine start failure: $exe ended with status $status before writing anything; starting it once more"
  echo "$note"
  echo "$(date -u +%FT%TZ) $note $*" >>"$FOLHAVIDA_CACHE/wine-run-repeats.log"
done
