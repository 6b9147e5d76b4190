# Sourced by the smoke scripts. start_xvfb starts a private virtual X server and exports its
# DISPLAY; stop_xvfb stops it. The server takes the first free display number (-displayfd), so
# parallel tests never meet, and does not reset when its last client leaves (a reset refuses
# connections for a moment). The screen is large enough for the window at scale 3.
# start_xvfb returns 77 when Xvfb is not installed, 1 when it does not come up.

xvfb_pid=""
xvfb_dir=""

start_xvfb() {
  if ! command -v Xvfb >/dev/null 2>&1; then
    echo "Xvfb is not installed: skipped"
    return 77
  fi
  xvfb_dir=$(mktemp -d "${TMPDIR:-/tmp}/kelvox-xvfb.XXXXXX")
  Xvfb -displayfd 3 -screen 0 2048x1536x24 -nolisten tcp -noreset \
    3>"$xvfb_dir/display" 2>"$xvfb_dir/xvfb.log" &
  xvfb_pid=$!
  # The number is written once the server accepts connections.
  local _
  for _ in $(seq 100); do
    [ -s "$xvfb_dir/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
      echo "Xvfb did not start:"
      cat "$xvfb_dir/xvfb.log"
      return 1
    fi
    sleep 0.1
  done
  if [ ! -s "$xvfb_dir/display" ]; then
    echo "Xvfb gave no display number within 10 s"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$xvfb_dir/display")"
  unset WAYLAND_DISPLAY
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  fi
  if [ -n "$xvfb_dir" ]; then
    rm -rf "$xvfb_dir"
    xvfb_dir=""
  fi
}
