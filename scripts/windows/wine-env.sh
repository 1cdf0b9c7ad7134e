# Sourced by the scripts that run Windows programs under wine.  Sets up a
# private wine prefix in the cache (made once: that takes half a minute), with
# no debug chatter, no offer to install Mono or Gecko and no crash debugger (a
# crashing program then just ends with its exception code), and keeps one
# wineserver running so that each program starts in a fraction of a second.
#
#   . scripts/windows/wine-env.sh && kv390_wine_start    ...    kv390_wine_stop

kv390_wine_start() {
  local cache=${KV390_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/kv390}
  local version
  version=$(wine --version | tr -c 'A-Za-z0-9.\n' '-')
  export WINEPREFIX=${KV390_WINEPREFIX:-$cache/wine-$version}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/kv390-ready" ]; then
    echo "Making the wine prefix $WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineserver -k 2> /dev/null || true  # a server left from an interrupted run
    (unset DISPLAY; wineboot --init > /dev/null 2>&1) ||
      { echo "wine-env.sh: wineboot could not make $WINEPREFIX" >&2; return 1; }
    # A debugger that does not exist: an unhandled exception ends the program at once.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
      /v Debugger /d kv390-no-debugger.exe /f > /dev/null 2>&1
    touch "$WINEPREFIX/kv390-ready"
  fi
  wineserver -p
}

kv390_wine_stop() {
  wineserver -k 2> /dev/null || true
}
