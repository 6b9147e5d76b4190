#!/usr/bin/env bash
# Measures the demo game as a player meets it. Not a test: it prints figures.
#   demo-measure.sh start BUILD_DIR        start of kelvox to its first presented frame, warm
#                                          cache, ten runs each headless and (under Xvfb, when
#                                          installed) in a window; the median and the slowest
#   demo-measure.sh start-installed BUILD_DIR
#                                          the same for the demo installed with cmake --install
#                                          into a scratch prefix, started without a folder
#                                          (so finding it and linking the player's folder count)
#   demo-measure.sh rss BUILD_DIR          peak resident memory over the whole play-through,
#                                          headless (--fast) and in a window in real time
#   demo-measure.sh soak BUILD_DIR [MIN]   the play-through looped headless in real time for
#                                          MIN minutes (30): resident memory at the start and
#                                          the end, and any error box
set -eu
what=${1:?usage: demo-measure.sh start|start-installed|rss|soak BUILD_DIR [MINUTES]}
build=$(cd "${2:?usage: demo-measure.sh start|start-installed|rss|soak BUILD_DIR [MINUTES]}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
input=$here/../tests/games/demo-playthrough.input
work=$(mktemp -d "${TMPDIR:-/tmp}/kelvox-measure.XXXXXX")
trap 'rm -rf "$work"' EXIT
fresh_game() { rm -rf "$work/game"; cp -r "$build/games/demo" "$work/game"; }

# The time from starting kelvox to the PNG of tick 0, the first frame it presents, in ms.
# KELVOX (default: the build's) runs the game GAME (default: a fresh copy of the demo; "none"
# for no folder argument).
first_frame_ms() {
  local game=${GAME:-$work/game}
  [ -z "${GAME:-}" ] && fresh_game
  [ "$game" = none ] && game=
  rm -f "$work/first.png"
  local start end
  start=$(date +%s%N)
  "${KELVOX:-$build/kelvox}" "$@" --frames 40 --screenshot-at 0:"$work/first.png" $game >/dev/null 2>&1 &
  local pid=$!
  while [ ! -f "$work/first.png" ] && kill -0 $pid 2>/dev/null; do sleep 0.001; done
  end=$(stat -c %.9Y "$work/first.png" | tr -d .)
  wait $pid || true
  echo $(((end - start) / 1000000))
}

report() {  # report LABEL VALUES...: median and slowest
  local label=$1
  shift
  local sorted=($(printf '%s\n' "$@" | sort -n))
  echo "$label: median ${sorted[$((${#sorted[@]} / 2))]} ms, slowest ${sorted[-1]} ms (${#sorted[@]} runs)"
}

# start_times LABEL: ten starts to the first frame headless, then in a window on Xvfb.
start_times() {
  local label=$1 runs=()
  first_frame_ms --headless >/dev/null  # warm the cache (and make the player's folder)
  for _ in $(seq 10); do runs+=($(first_frame_ms --headless)); done
  report "${label}start to first frame, headless" "${runs[@]}"
  if command -v Xvfb >/dev/null; then
    . "$here/../tests/smoke/xvfb.sh"
    start_xvfb
    export SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work
    runs=()
    for _ in $(seq 10); do runs+=($(first_frame_ms --scale 1)); done
    stop_xvfb
    report "${label}start to first frame, in a window (Xvfb)" "${runs[@]}"
  fi
}

case $what in
start)
  start_times ""
  ;;
start-installed)
  cmake --install "$build" --prefix "$work/prefix" >/dev/null
  export KELVOX=$work/prefix/bin/kelvox GAME=none HOME=$work/home
  unset XDG_DATA_HOME
  start_times "installed demo, "
  ;;
rss)
  fresh_game
  /usr/bin/time -f "peak RSS, headless play-through (--fast): %M KiB in %e s" \
    "$build/kelvox" --headless --fast --input "$input" "$work/game" >/dev/null
  if command -v Xvfb >/dev/null; then
    . "$here/../tests/smoke/xvfb.sh"
    start_xvfb
    fresh_game
    SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work /usr/bin/time -f "peak RSS, play-through in a window (Xvfb, real time): %M KiB in %e s" \
      "$build/kelvox" --scale 1 --input "$input" "$work/game" >/dev/null
    stop_xvfb
  fi
  ;;
soak)
  minutes=${3:-30}
  # The play-through again and again: where it would quit at the end, it starts a new game.
  python3 - "$input" "$minutes" >"$work/soak.input" <<'PY'
import sys
events = [l.split('#')[0].split() for l in open(sys.argv[1])]
events = [(int(e[0]), e[1:]) for e in events if e]
new_game = next(t for t, rest in events if rest == ['down', 'left'])   # はじめから
quit_at = events[-2][0]                                                  # 終了
loop = quit_at - new_game
ticks = int(sys.argv[2]) * 60 * 30
offset = 0
while True:
    for t, rest in events[:-3]:
        if offset and t < new_game - 10: continue
        if t + offset >= ticks: sys.exit(0)
        print(t + offset, *rest)
    offset += loop
PY
  fresh_game
  "$build/kelvox" --headless --frames $((minutes * 60 * 30)) --input "$work/soak.input" "$work/game" >"$work/boxes.log" &
  pid=$!
  sleep 20
  echo "soak: resident memory after 20 s: $(grep VmRSS /proc/$pid/status | tr -s ' ')"
  while kill -0 $pid 2>/dev/null; do
    last=$(grep -E 'VmRSS|VmHWM' /proc/$pid/status 2>/dev/null | tr -s ' ' | tr '\n' ' ' || true)
    [ -n "$last" ] && end=$last
    sleep 5
  done
  wait $pid && status=0 || status=$?
  echo "soak: $minutes minutes, status $status; at the end: $end"
  echo "soak: error boxes: $(grep -c 'caption=Zarveth' "$work/boxes.log" || true), other boxes: $(grep -vc 'caption=Zarveth' "$work/boxes.log" || true)"
  ;;
*)
  echo "usage: demo-measure.sh start|start-installed|rss|soak BUILD_DIR [MINUTES]"
  exit 2
  ;;
esac
