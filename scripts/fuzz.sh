#!/usr/bin/env bash
# Fuzzes the readers of outside input for as long as one asks: the native fuzz targets (clang,
# libFuzzer, ASan, UBSan), each started from its committed corpus (fuzz/corpus/<target>).
#   bash scripts/fuzz.sh [--seconds N] [--jobs N] [target...]
# --seconds: how long each target runs (default 60); --jobs: its parallel processes (default 1).
# Targets default to all (fuzz/*_fuzz.cpp). Inputs found to be new are kept in
# build/native/fuzz/found/<target> for later runs; findings (crash-*, leak-*, timeout-*, oom-*)
# land in build/native/fuzz/findings/<target>/ and make the script fail. A finding, once fixed,
# goes into the committed corpus with a regression test beside the module.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
cd "$FOLHAVIDA_ROOT"

seconds=60
jobs=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" _fuzz.cpp)"); done
fi

bash "$here/native-test.sh" --build-only
out=$FOLHAVIDA_ROOT/build/native/fuzz
# The whole-load target writes a file per run: on a memory file system it runs several times faster.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=$(mktemp -d /dev/shm/folhavida-fuzz.XXXXXX)
  export TMPDIR
  trap 'rm -rf "$TMPDIR"' EXIT
fi
failed=0
for target in "${targets[@]}"; do
  mkdir -p "$out/found/$target" "$out/findings/$target" "$out/logs"
  log=$out/logs/$target.log
  echo "== $target: $seconds s, $jobs job(s)"
  parallel=()
  [ "$jobs" -gt 1 ] && parallel=(-fork="$jobs")
  if ! "$out/${target}_fuzz" "${parallel[@]}" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
       -artifact_prefix="$out/findings/$target/" "$out/found/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    failed=1
    echo "   FINDING: see $log and $out/findings/$target/"
  fi
  # The last status line: executions so far, coverage (cov) and features (ft).
  grep -E '^#[0-9]+' "$log" | tail -1 | sed 's/^/   /' || true
  grep -E 'stat::number_of_executed_units' "$log" | sed 's/^/   /' || true
done
exit $failed
