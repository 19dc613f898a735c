#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine.
# The programs are always built for 32-bit Windows; the tests run in the same word size where
# the host can execute 32-bit code, otherwise as a 64-bit build of the same sources. There the
# 32-bit tests are still compiled and linked (not run), so that an error only the 32-bit build
# shows (a callback without CALLBACK, a decorated export) fails the run on every machine.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
cd "$FOLHAVIDA_ROOT"

bash "$here/install-deps.sh"

jobs=$(nproc)
product=i686-w64-mingw32
tests=$(folhavida_test_triplet)

configure_and_build() { # <triplet> <build dir> <tests ON|OFF> [build type]
  bash "$here/build-deps.sh" "$1"
  cmake -S . -B "$2" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$(folhavida_toolchain_file "$1")" \
    -DCMAKE_BUILD_TYPE="${4:-Release}" -DFOLHAVIDA_TESTS="$3" >/dev/null
  cmake --build "$2" -j "$jobs"
}

if [ "$tests" = "$product" ]; then
  configure_and_build "$product" build/$product ON
else
  echo "note: this host cannot execute 32-bit code; the suite runs a 64-bit build"
  configure_and_build "$product" build/$product OFF
  # Only compiled and linked: the build type "None" has no flags of its own, so no optimisation
  # and no debug information, the cheapest build that still compiles and links every program.
  echo "note: the 32-bit tests are compiled and linked, not run"
  configure_and_build "$product" build/$product-tests ON None
  configure_and_build "$tests" build/$tests ON
fi

bits=32; [ "$tests" = "$product" ] || bits=64
export FOLHAVIDA_WINE_BITS=$bits
# A display, prefix and wineserver of this checkout's suite alone, so that nothing else running
# Wine on this machine (another checkout's suite included) shares, or is stopped with, them.
checkout=$(printf '%s' "$FOLHAVIDA_ROOT" | sha256sum | cut -c1-8)
export FOLHAVIDA_HARNESS=$FOLHAVIDA_CACHE/harness-suite-$checkout
export FOLHAVIDA_WINEPREFIX=$FOLHAVIDA_CACHE/wineprefix-suite-$checkout-win$bits
trap 'bash "$here/harness.sh" stop' EXIT
bash "$here/harness.sh" start
cd "build/$tests"
# A failure counts: no test is run again (scripts/wine-run.sh repeats only a Wine start failure).
ctest -j "$jobs" --output-on-failure --timeout 600
bash "$here/native-test.sh"  # the portable core natively, under the sanitizers, and the fuzz smoke
