# Sourced by the test scripts: starts a virtual display and a prepared Wine prefix for the Windows
# suite, and stops both when the calling script exits. Usage: wine_session_start <directory>.
source "$(dirname "${BASH_SOURCE[0]}")/virtual-display.sh"

wine_session_stop() {
  if [[ -n ${WINEPREFIX:-} && -n ${wine_server:-} ]]; then
    "$wine_server" -k 2>/dev/null || true
  fi
  virtual_display_stop
}

wine_session_start() {
  mkdir -p "$1"
  local directory
  directory=$(cd "$1" && pwd)
  local wine
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  wine_server=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
  trap wine_session_stop EXIT

  # The Windows suite's windows need a display: the caller's, or a virtual one of the session's own.
  if [[ -z ${DISPLAY:-} ]]; then
    virtual_display_start || return 1
  fi

  export WINEPREFIX=$directory/wine-prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES=mscoree,mshtml=
  local log=$directory/wine-prefix.log
  mkdir -p "$WINEPREFIX"
  # One server for the whole run: every test program would otherwise start and stop its own.
  "$wine_server" -p
  if ! "$wine" wineboot --init >"$log" 2>&1; then
    echo "error: preparing the Wine prefix failed; see $log" >&2
    return 1
  fi
  # Wine's desktop process starts with the first program that opens a window and ends after the
  # last; on a fresh machine each start takes about 20 s. A program that keeps a window open holds
  # the desktop for the whole run (the server stops it at the end).
  "$wine" notepad.exe >/dev/null 2>&1 &
}
