# Environment of the project's private Wine: a dedicated prefix per word size, quiet and without
# browser or menu integration, never the user's ~/.wine. Sourced, not run.
#   FOLHAVIDA_WINE_BITS=32|64 chooses the prefix (default: 32 where the host can run it).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
if [ -z "${FOLHAVIDA_WINE_BITS:-}" ]; then
  if folhavida_host_runs_32bit; then FOLHAVIDA_WINE_BITS=32; else FOLHAVIDA_WINE_BITS=64; fi
fi
FOLHAVIDA_HARNESS=${FOLHAVIDA_HARNESS:-$FOLHAVIDA_CACHE/harness}
if [ "$FOLHAVIDA_WINE_BITS" = 32 ]; then
  export WINEARCH=win32
  export WINEPREFIX=${FOLHAVIDA_WINEPREFIX:-$FOLHAVIDA_CACHE/wineprefix-win32}
  FOLHAVIDA_WINE=/usr/lib/wine/wine
else
  export WINEARCH=win64
  export WINEPREFIX=${FOLHAVIDA_WINEPREFIX:-$FOLHAVIDA_CACHE/wineprefix-win64}
  export WINELOADER=/usr/lib/wine/wine64
  FOLHAVIDA_WINE=/usr/lib/wine/wine64
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# WinInet would route even 127.0.0.1 through a proxy taken from the environment.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY
export FOLHAVIDA_HARNESS FOLHAVIDA_WINE FOLHAVIDA_WINE_BITS
