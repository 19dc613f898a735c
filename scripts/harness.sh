#!/usr/bin/env bash
# The test harness: a private Xvfb display, the project's Wine prefix with a persistent
# wineserver, and a keep-alive program so the desktop process is started only once.
#   harness.sh start   start everything that is not running yet (safe to call concurrently)
#   harness.sh stop    end the wineserver, the keep-alive and the display
#   harness.sh env     print the DISPLAY to use
#   harness.sh prefix  only create the Wine prefix (for running on the user's own display)
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$FOLHAVIDA_HARNESS"
state=$FOLHAVIDA_HARNESS/state

alive() { folhavida_alive "${1:-}"; }

start_display() {
  local pid="" display=""
  if [ -f "$state" ]; then source "$state"; fi
  if alive "${XVFB_PID:-}"; then return; fi
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || { echo "harness: no free X display" >&2; exit 1; }
  setsid Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$FOLHAVIDA_HARNESS/xvfb.log" 2>&1 9>&- &
  pid=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.05
  done
  printf 'XVFB_PID=%s\nXVFB_DISPLAY=%s\n' "$pid" "$display" >"$state"
}

reg() { "$FOLHAVIDA_WINE" reg add "$@" /f </dev/null >/dev/null 2>&1 9>&-; }

create_prefix() {
  [ -f "$WINEPREFIX/.folhavida-ready" ] && return
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineserver -p 9>&-
  timeout 300 "$FOLHAVIDA_WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&-
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  reg 'HKCU\Software\Wine\Drivers' /v Audio /d ""
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d "Liberation Sans"
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /d "Liberation Serif"
  reg 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" /d "Liberation Mono"
  if [ "${FOLHAVIDA_VIRTUAL_DESKTOP:-1}" = 1 ]; then
    # One virtual desktop: window activation and screen reads do not depend on a window manager.
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024
  fi
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Shut the server down once so the registry reaches the disk before the run starts.
  wineserver -k 9>&- || true
  wineserver -w 9>&- || true
  touch "$WINEPREFIX/.folhavida-ready"
}

start_keepalive() {
  local exe=$FOLHAVIDA_HARNESS/keepalive$FOLHAVIDA_WINE_BITS.exe
  local pidfile=$FOLHAVIDA_HARNESS/keepalive$FOLHAVIDA_WINE_BITS.pid
  local src=$FOLHAVIDA_ROOT/scripts/harness/keepalive.c
  local cc=i686-w64-mingw32-gcc
  [ "$FOLHAVIDA_WINE_BITS" = 64 ] && cc=x86_64-w64-mingw32-gcc
  if [ ! -f "$exe" ] || [ "$src" -nt "$exe" ]; then
    "$cc" -O2 -mwindows -o "$exe" "$src"
  fi
  if [ -f "$pidfile" ] && alive "$(cat "$pidfile")"; then
    return
  fi
  setsid "$FOLHAVIDA_WINE" "$exe" </dev/null >/dev/null 2>&1 9>&- &
  echo $! >"$pidfile"
}

start() {
  exec 9>"$FOLHAVIDA_HARNESS/lock"
  flock 9
  start_display
  source "$state"
  export DISPLAY=$XVFB_DISPLAY
  [ "$FOLHAVIDA_WINE_BITS" = 32 ] && ! folhavida_host_runs_32bit && {
    echo "harness: this host cannot run 32-bit programs; use the 64-bit test build" >&2; exit 1; }
  create_prefix
  # A persistent server: every wine process of the run attaches to it instead of starting one.
  setsid wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
  start_keepalive
  flock -u 9
}

stop() {
  if [ -f "$state" ]; then source "$state"; fi
  wineserver -k 2>/dev/null || true
  if alive "${XVFB_PID:-}"; then kill "$XVFB_PID" 2>/dev/null || true; fi
  rm -f "$state" "$FOLHAVIDA_HARNESS"/keepalive*.pid
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  env) source "$state"; echo "$XVFB_DISPLAY" ;;
  prefix) create_prefix ;;
  *) echo "usage: harness.sh start|stop|env|prefix" >&2; exit 2 ;;
esac
