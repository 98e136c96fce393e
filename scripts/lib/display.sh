# Sourced by scripts that need a display: `start_virtual_display` starts an Xvfb of its
# own, also when DISPLAY is set (tests never draw on someone's desktop), waits until it
# answers, and exports DISPLAY; `stop_virtual_display` ends it.
# Xvfb picks the display number itself (-displayfd): it takes the first number whose lock
# it can create, so runs started at the same moment never share or fight over one.
xvfb_pid=

start_virtual_display() {
  local dir
  dir=$(mktemp -d) || return 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/number" >/dev/null 2>&1 &
  xvfb_pid=$!
  local n=
  for _ in $(seq 200); do
    # The number and a line break are written once the server takes connections.
    if grep -q '^[0-9][0-9]*$' "$dir/number" 2>/dev/null; then
      n=$(cat "$dir/number")
      break
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -rf "$dir"
  if [ -z "$n" ]; then
    echo "Xvfb did not start" >&2
    stop_virtual_display
    return 1
  fi
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY does not answer" >&2
  stop_virtual_display
  return 1
}

stop_virtual_display() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=
}
