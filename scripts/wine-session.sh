# Sourced by the test scripts: starts a virtual display and a prepared Wine prefix for the Windows
# suite, and stops both when the calling script exits. Usage: wine_session_start <directory>.

wine_session_stop() {
  if [[ -n ${WINEPREFIX:-} && -n ${wine_server:-} ]]; then
    "$wine_server" -k 2>/dev/null || true
  fi
  if [[ -n ${wine_session_display_pid:-} ]]; then
    kill "$wine_session_display_pid" 2>/dev/null || true
    wait "$wine_session_display_pid" 2>/dev/null || true
  fi
}

wine_session_start() {
  mkdir -p "$1"
  local directory
  directory=$(cd "$1" && pwd)
  local wine
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  wine_server=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
  trap wine_session_stop EXIT

  # Xvfb picks a free display and writes its number to the descriptor it is given.
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  wine_session_display_pid=$!
  local waited=0
  while [[ ! -s $display_file ]]; do
    if ! kill -0 "$wine_session_display_pid" 2>/dev/null || ((waited >= 100)); then
      echo "error: the virtual display (Xvfb) did not start" >&2
      rm -f "$display_file"
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=:$(head -n1 "$display_file")
  rm -f "$display_file"

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
