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
  version=$(wine --version 2> /dev/null | head -n 1 | tr -c 'A-Za-z0-9.' '-')
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
    # The set-up's server ends a few seconds after its last program; a
    # persistent one can only start after that.
    wineserver -w
    touch "$WINEPREFIX/kv390-ready"
  fi
  # One persistent server, started fresh: a server left by an interrupted run
  # would refuse the new one.
  wineserver -k 2> /dev/null && wineserver -w
  wineserver -p
  # The first program of a session starts wine's services (services.exe,
  # winedevice.exe, ...), which stay with the server and keep the first
  # program's output open: a test runner reading that output would wait for
  # them.  Start them here, writing nowhere.
  wine cmd /c exit 0 < /dev/null > /dev/null 2>&1 || true
}

kv390_wine_stop() {
  wineserver -k 2> /dev/null || true
}
