#!/usr/bin/env bash
# The native part of the test suite: the portable core (rtl, classes, report/expressions,
# report/pagestore) built on Linux with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# its tests, and a fixed number of runs of each fuzz target over its corpus (fuzz/).
#   bash scripts/native-test.sh [--build-only]
# Needs clang and its sanitizer and fuzzer run-times (scripts/install-deps.sh installs them).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
cd "$FOLHAVIDA_ROOT"

build=build/native
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j "$(nproc)"
[ "${1:-}" = --build-only ] && exit 0

# Leaks are findings too; a sanitizer report ends the test that made it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build"
ctest -j "$(nproc)" --output-on-failure --timeout 600
