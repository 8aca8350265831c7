# Sourced by the scripts that need an X display without a desktop: starts Xvfb on a free display
# and exports DISPLAY. Usage: virtual_display_start; virtual_display_stop (the caller's EXIT trap).

virtual_display_stop() {
  if [[ -n ${virtual_display_pid:-} ]]; then
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
    virtual_display_pid=
  fi
}

virtual_display_start() {
  # Xvfb picks a free display and writes its number to the descriptor it is given. Without -noreset it
  # starts afresh whenever its last client leaves, hanging up on anyone who connects meanwhile.
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
  virtual_display_pid=$!
  local waited=0
  while [[ ! -s $display_file ]]; do
    if ! kill -0 "$virtual_display_pid" 2>/dev/null || ((waited >= 100)); then
      echo "error: the virtual display (Xvfb) did not start" >&2
      rm -f "$display_file"
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=:$(head -n1 "$display_file")
  rm -f "$display_file"
}
