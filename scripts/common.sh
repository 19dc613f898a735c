# Shared settings of the project's scripts: where cached dependencies, the Wine prefixes and the
# private X display live. Sourced, not run.
HOME=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
export HOME
FOLHAVIDA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FOLHAVIDA_CACHE=${FOLHAVIDA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/folhavida}
export FOLHAVIDA_ROOT FOLHAVIDA_CACHE

# The product is 32-bit. Some hosts' kernels cannot execute 32-bit code at all (no IA-32
# emulation), and 32-bit Wine cannot start there; the suite then runs a 64-bit build of the
# same sources in a 64-bit prefix.
folhavida_host_runs_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

folhavida_test_triplet() {
  if folhavida_host_runs_32bit; then echo i686-w64-mingw32; else echo x86_64-w64-mingw32; fi
}

folhavida_toolchain_file() {
  case "$1" in
    i686-w64-mingw32) echo "$FOLHAVIDA_ROOT/cmake/toolchain-i686-mingw.cmake" ;;
    x86_64-w64-mingw32) echo "$FOLHAVIDA_ROOT/cmake/toolchain-x86_64-mingw.cmake" ;;
  esac
}

# A process that runs: exists and is not a zombie waiting to be reaped.
folhavida_alive() {
  [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null || return 1
  local state
  state=$(sed -n 's/^State:[[:space:]]*\([A-Z]\).*/\1/p' "/proc/$1/status" 2>/dev/null)
  [ "$state" != Z ]
}
