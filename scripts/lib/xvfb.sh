# Sourced by scripts that need an X server: start_private_xvfb starts Xvfb on
# a display number that the server itself finds free (so parallel runs never
# share one), exports DISPLAY and stops the server when the calling script exits.

xvfb_pid=""

stop_private_xvfb() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}

start_private_xvfb() {
  local number_file
  number_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap stop_private_xvfb EXIT
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(tr -dc '0-9' <"$number_file")"
  rm -f "$number_file"
}
