#!/usr/bin/env bash
# Installs what is missing, builds Folhavida and starts it under Wine: on the user's display
# when there is one, otherwise on the project's private virtual display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
cd "$FOLHAVIDA_ROOT"

bash "$here/install-deps.sh"

triplet=i686-w64-mingw32
bits=32
if ! folhavida_host_runs_32bit; then
  echo "note: this host cannot execute 32-bit code; starting a 64-bit build of Folhavida"
  triplet=x86_64-w64-mingw32
  bits=64
fi
bash "$here/build-deps.sh" "$triplet"
build=build/run-$triplet
cmake -S . -B "$build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$(folhavida_toolchain_file "$triplet")" \
  -DCMAKE_BUILD_TYPE=Release -DFOLHAVIDA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

export FOLHAVIDA_WINE_BITS=$bits
if [ -n "${DISPLAY:-}" ]; then
  # The user's own display: a prefix of its own, without the test suite's virtual desktop.
  export FOLHAVIDA_WINEPREFIX=$FOLHAVIDA_CACHE/wineprefix-run-win$bits FOLHAVIDA_VIRTUAL_DESKTOP=0
  source "$here/wine-env.sh"
  bash "$here/harness.sh" prefix
else
  source "$here/wine-env.sh"
  bash "$here/harness.sh" start
  DISPLAY=$(bash "$here/harness.sh" env)
  export DISPLAY
  echo "no display: Folhavida runs on the private display $DISPLAY"
fi
cd "$build/app"
# Folhavida is made for a Brazilian Windows: the greeting's clock, day and month names and the
# dates take the system's locale, which Wine takes from this one.
export LC_ALL=pt_BR.UTF-8
exec "$FOLHAVIDA_WINE" Folhavida.exe
