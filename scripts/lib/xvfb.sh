# Sourced by scripts that need an X server: start_private_xvfb starts Xvfb on
# a free-looking display number from the given base, waits for its socket,
# exports DISPLAY and stops the server when the calling script exits.

xvfb_pid=""

stop_private_xvfb() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}

start_private_xvfb() {
  local base="$1"
  local display=":$((base + RANDOM % 100))"
  Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap stop_private_xvfb EXIT
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
  export DISPLAY="$display"
}
