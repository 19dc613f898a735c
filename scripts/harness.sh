#!/usr/bin/env bash
# The test harness: a private Xvfb display, the project's Wine prefix, and every long-lived Wine
# process a run needs, started here and never by a test.
#   harness.sh start   start what is not running yet and wait until it is ready (safe to call
#                      concurrently: callers wait for each other)
#   harness.sh stop    end the Wine processes and the display
#   harness.sh env     print the DISPLAY to use
#   harness.sh prefix  only create the Wine prefix (for running on the user's own display)
#
# Why the harness starts them: the first Wine program of a server starts wineboot, which starts
# services.exe and the services it runs, and the first program that touches the desktop starts
# explorer.exe /desktop. Those processes live until the server ends and keep the Unix standard
# error (explorer also standard output) of the program that started them. Were that a test, CTest
# would wait for the test's output pipe to close until the test timed out. So `start` launches
# them itself, detached from every pipe of its caller, and returns only once the desktop window
# exists and the keep-alive program's window is up.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$FOLHAVIDA_HARNESS"
state=$FOLHAVIDA_HARNESS/state
log=$FOLHAVIDA_HARNESS/harness.log
desktop_size=1280x1024
keepalive=$FOLHAVIDA_HARNESS/keepalive$FOLHAVIDA_WINE_BITS

alive() { folhavida_alive "${1:-}"; }

fail() {
  echo "harness: $*" >&2
  if [ -s "$log" ]; then echo "harness: last lines of $log:" >&2; tail -n 20 "$log" >&2; fi
  exit 1
}

# Closes every descriptor above standard error (the harness's lock, anything a caller passed on).
close_inherited_fds() {
  local fd
  for fd in /proc/$BASHPID/fd/*; do
    fd=${fd##*/}
    if [ "$fd" -gt 2 ]; then eval "exec $fd>&-"; fi
  done
}

# Starts a long-lived process in a session of its own, with no terminal and none of the caller's
# pipes: its standard streams go to the harness's log.
detach() {
  (close_inherited_fds; exec setsid "$@" </dev/null >>"$log" 2>&1) &
}

# Runs a short-lived Wine command to its end, with the same isolation (it may start the server's
# services, which would keep its descriptors).
isolated() {
  (close_inherited_fds; exec setsid "$@" </dev/null >>"$log" 2>&1)
}

# wait_until <seconds> <what> <command...>: polls the command until it succeeds.
wait_until() {
  local seconds=$1 what=$2
  shift 2
  local end=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "gave up after ${seconds}s waiting for $what"
    sleep 0.05
  done
}

# ---- display ----

display_answers() { [ -n "${XVFB_DISPLAY:-}" ] && xdpyinfo -display "$XVFB_DISPLAY" >/dev/null 2>&1; }

load_state() {
  XVFB_PID="" XVFB_DISPLAY=""
  if [ -f "$state" ]; then source "$state"; fi
}

start_display() {
  load_state
  if alive "$XVFB_PID" && display_answers; then return; fi
  # A display that died or stopped answering: Wine programs still attached to it are of no use.
  if alive "$XVFB_PID"; then kill "$XVFB_PID"; fi
  [ -f "$WINEPREFIX/.folhavida-ready" ] && { isolated wineserver -k || true; }
  rm -f "$keepalive.pid" "$keepalive.ready"
  # Xvfb picks a free display number itself and writes it once it accepts clients.
  local number_file=$FOLHAVIDA_HARNESS/display
  rm -f "$number_file" "$state"
  : >"$log"  # a new display starts a new run of the harness
  (close_inherited_fds
   exec setsid Xvfb -displayfd 3 -screen 0 "${desktop_size}x24" -nolisten tcp \
     3>"$number_file" </dev/null >"$FOLHAVIDA_HARNESS/xvfb.log" 2>&1) &
  XVFB_PID=$!
  wait_until 30 "Xvfb to report its display" grep -q '^[0-9]' "$number_file"
  XVFB_DISPLAY=:$(head -n 1 "$number_file")
  wait_until 10 "display $XVFB_DISPLAY to answer" display_answers
  printf 'XVFB_PID=%s\nXVFB_DISPLAY=%s\n' "$XVFB_PID" "$XVFB_DISPLAY" >"$state.new"
  mv "$state.new" "$state"  # programs read it without the lock
}

# ---- prefix ----

# A prefix is deleted only where the project owns it: inside its cache folder.
remove_unfinished_prefix() {
  local cache prefix
  cache=$(realpath -m "$FOLHAVIDA_CACHE")
  prefix=$(realpath -m "$WINEPREFIX")
  if [ "$cache" != / ] && [ "$cache" != "$(realpath -m "$HOME")" ] && [[ "$prefix" == "$cache"/?* ]]; then
    rm -rf "$prefix"
  elif [ -n "$(ls -A "$prefix" 2>/dev/null)" ]; then
    fail "$WINEPREFIX is not a finished Folhavida prefix and lies outside $FOLHAVIDA_CACHE;" \
      "it is left alone: remove it yourself or choose another FOLHAVIDA_WINEPREFIX"
  fi
}

reg() { isolated "$FOLHAVIDA_WINE" reg add "$@" /f; }

create_prefix() {
  [ -f "$WINEPREFIX/.folhavida-ready" ] && return
  remove_unfinished_prefix
  mkdir -p "$WINEPREFIX"
  isolated wineserver -p
  isolated timeout 300 "$FOLHAVIDA_WINE" wineboot -i
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  reg 'HKCU\Software\Wine\Drivers' /v Audio /d ""
  if [ "${FOLHAVIDA_VIRTUAL_DESKTOP:-1}" = 1 ]; then
    # One virtual desktop: window activation and screen reads do not depend on a window manager.
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop_size"
  fi
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Shut the server down once so the registry reaches the disk before the run starts.
  isolated wineserver -k || true
  isolated wineserver -w || true
  touch "$WINEPREFIX/.folhavida-ready"
}

# Faces Windows has and a Wine prefix lacks, mapped to close Debian fonts (install-deps.sh): the
# lettering models of the style form name "Monotype Corsiva" and "Brush Script MT". A prefix made
# before a mapping was added gets it on its next start (the marker names the list's version).
font_replacements() {
  local marker=$WINEPREFIX/.folhavida-fonts-2
  [ -f "$marker" ] && return
  local key='HKCU\Software\Wine\Fonts\Replacements'
  reg "$key" /v Arial /d "Liberation Sans"
  reg "$key" /v "Times New Roman" /d "Liberation Serif"
  reg "$key" /v "Courier New" /d "Liberation Mono"
  reg "$key" /v "Monotype Corsiva" /d "Z003"
  reg "$key" /v "Brush Script MT" /d "Kaushan Script"
  isolated wineserver -k || true
  isolated wineserver -w || true
  touch "$marker"
}

# ---- Wine processes ----

# The virtual desktop's X window, made by explorer.exe (mapped at the desktop's size).
desktop_shown() {
  xwininfo -display "$XVFB_DISPLAY" -root -children 2>/dev/null |
    grep -q "(\"explorer.exe\" \"explorer.exe\")  ${desktop_size}+"
}

keepalive_up() { [ -f "$keepalive.ready" ] && [ -f "$keepalive.pid" ] && alive "$(cat "$keepalive.pid")"; }

build_keepalive() {
  local src=$FOLHAVIDA_ROOT/scripts/harness/keepalive.c
  local cc=i686-w64-mingw32-gcc
  [ "$FOLHAVIDA_WINE_BITS" = 64 ] && cc=x86_64-w64-mingw32-gcc
  if [ ! -f "$keepalive.exe" ] || [ "$src" -nt "$keepalive.exe" ]; then
    "$cc" -O2 -mwindows -o "$keepalive.exe" "$src" -lshell32
  fi
}

start_wine() {
  export DISPLAY=$XVFB_DISPLAY
  # A persistent server: every Wine program of the run attaches to it instead of starting one.
  # It returns once the server listens (or at once when one runs already).
  isolated wineserver -p || true
  if ! desktop_shown; then
    # The first program of the server: it also waits for wineboot, which starts services.exe.
    detach "$FOLHAVIDA_WINE" explorer.exe /desktop
    wait_until 120 "Wine's virtual desktop on $XVFB_DISPLAY" desktop_shown
  fi
  if ! keepalive_up; then
    build_keepalive
    rm -f "$keepalive.ready"
    # Z: is the Unix root in every Wine prefix.
    detach "$FOLHAVIDA_WINE" "$keepalive.exe" "Z:${keepalive//\//\\}.ready"
    echo $! >"$keepalive.pid"
    wait_until 60 "the keep-alive program's window" keepalive_up
  fi
}

start() {
  exec 9>"$FOLHAVIDA_HARNESS/lock"
  flock 9
  [ "$FOLHAVIDA_WINE_BITS" = 32 ] && ! folhavida_host_runs_32bit &&
    fail "this host cannot run 32-bit programs; use the 64-bit test build"
  start_display
  create_prefix
  font_replacements
  start_wine
  flock -u 9
}

stop() {
  exec 9>"$FOLHAVIDA_HARNESS/lock"
  flock 9
  load_state
  isolated wineserver -k 2>/dev/null || true
  timeout 30 wineserver -w 2>/dev/null || true
  if alive "$XVFB_PID"; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait_until 10 "Xvfb to end" eval '! alive "$XVFB_PID"'
  fi
  rm -f "$state" "$FOLHAVIDA_HARNESS"/keepalive*.pid "$FOLHAVIDA_HARNESS"/keepalive*.ready
}

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  env) load_state; [ -n "$XVFB_DISPLAY" ] || fail "not started"; echo "$XVFB_DISPLAY" ;;
  prefix) create_prefix; font_replacements ;;
  *) echo "usage: harness.sh start|stop|env|prefix" >&2; exit 2 ;;
esac
