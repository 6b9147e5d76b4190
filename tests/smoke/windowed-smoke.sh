#!/usr/bin/env bash
# The real program in a real window, on a private virtual X server with SDL's X11 video driver.
# Assembles caption.kvs into a game folder and runs kelvox on it, then, as a player would:
#   1. the window takes the script's Japanese caption;
#   2. Escape asks "終了しますか" in a message box (titled with the program's name);
#   3. Return picks the default button, Cancel: the box goes and the game window stays;
#   4. the script ends by itself and kelvox exits with status 0 within 30 s;
#   5. started again, Escape's box is up when SIGTERM comes: the game still ends through its
#      teardown (status 0, Save/Sys written, the box's helper process gone, the lock free).
# Steps 1-3 and 5 need xdotool and xwininfo; without them only step 4 is checked. Skips (77)
# without Xvfb.
#   windowed-smoke.sh KELVOX KVASM SCRIPT.kvs WORK_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"

kelvox=$1 kvasm=$2 source=$3 work=$4
caption="Kelvox 表示テスト ソフト"  # as in caption.kvs
box_title="Zarveth Ver1.10"
limit=30  # seconds

rm -rf "$work"
mkdir -p "$work"
if ! "$kvasm" "$source" -o "$work/game" >"$work/kvasm.log" 2>&1; then
  echo "kvasm failed:"
  cat "$work/kvasm.log"
  exit 1
fi

kelvox_pid=""
cleanup() {
  if [ -n "$kelvox_pid" ]; then
    kill "$kelvox_pid" 2>/dev/null
    wait "$kelvox_pid" 2>/dev/null
  fi
  stop_xvfb
}
trap cleanup EXIT
start_xvfb || exit $?

fail() {
  echo "FAILED: $*"
  if [ -n "$kelvox_pid" ]; then
    kill "$kelvox_pid" 2>/dev/null
    wait "$kelvox_pid" 2>/dev/null
    kelvox_pid=""
  fi
  echo "--- kelvox output:"
  cat "$work/kelvox.log"
  exit 1
}

# The id of the top-level window named exactly [$1], empty if there is none.
window_id() {
  LC_ALL=C.UTF-8 xwininfo -root -tree 2>/dev/null | grep -F -- "\"$1\": " | awk '{print $1; exit}'
}

# Waits up to [$2] seconds, while kelvox runs, until "window_id [$1]" is non-empty ([$3] = gone:
# until it is empty). Prints the id.
await_window() {
  local id i
  for i in $(seq $(($2 * 10))); do
    id=$(window_id "$1")
    if [ "${3:-}" = gone ]; then [ -z "$id" ] && return 0; else [ -n "$id" ] && { echo "$id"; return 0; }; fi
    kill -0 "$kelvox_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Its own runtime folder: the single-instance lock of a parallel run is not ours.
mkdir -m 700 "$work/runtime"
env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime" \
  timeout -k 5 "$limit" "$kelvox" "$work/game" >"$work/kelvox.log" 2>&1 &
kelvox_pid=$!

if command -v xdotool >/dev/null 2>&1 && command -v xwininfo >/dev/null 2>&1; then
  game=$(await_window "$caption" 15) || fail "no window captioned \"$caption\" (windows: $(LC_ALL=C.UTF-8 xwininfo -root -tree | grep -c '^ *0x'))"
  echo "window $game has the script's caption"
  xdotool windowfocus --sync "$game" && xdotool key Escape || fail "could not press Escape"
  box=$(await_window "$box_title" 15) || fail "Escape showed no box titled \"$box_title\""
  echo "Escape showed box $box"
  xdotool windowfocus --sync "$box" && xdotool key Return || fail "could not press Return"
  await_window "$box_title" 10 gone || fail "the box stayed after Return"
  sleep 0.5  # an OK would close the game at once; Cancel leaves it several seconds to run
  [ -n "$(window_id "$caption")" ] || fail "Return (Cancel) closed the game"
  echo "Return answered Cancel: the game goes on"
else
  echo "xdotool or xwininfo missing: caption and keys not checked"
fi

wait "$kelvox_pid"
status=$?
kelvox_pid=""
[ "$status" -eq 124 ] && fail "kelvox did not end within $limit s"
[ "$status" -eq 0 ] || fail "kelvox ended with status $status"
echo "kelvox ended with status 0"

if command -v xdotool >/dev/null 2>&1 && command -v xwininfo >/dev/null 2>&1; then
  rm -rf "$work/game/Save"
  env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime" \
    timeout -k 5 "$limit" "$kelvox" "$work/game" >"$work/kelvox.log" 2>&1 &
  kelvox_pid=$!
  game=$(await_window "$caption" 15) || fail "the second run showed no window"
  xdotool windowfocus --sync "$game" && xdotool key Escape || fail "could not press Escape"
  await_window "$box_title" 15 >/dev/null || fail "Escape showed no box in the second run"
  helpers=$(cat /proc/"$kelvox_pid"/task/*/children 2>/dev/null)
  kill -TERM "$kelvox_pid"
  for _ in $(seq 100); do kill -0 "$kelvox_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$kelvox_pid" 2>/dev/null && fail "SIGTERM with the box up did not end kelvox within 10 s"
  wait "$kelvox_pid"
  status=$?
  kelvox_pid=""
  [ "$status" -eq 0 ] || fail "after SIGTERM kelvox ended with status $status"
  [ -f "$work/game/Save/Sys" ] || fail "after SIGTERM Save/Sys was not written"
  for helper in $helpers; do
    kill -0 "$helper" 2>/dev/null && fail "the box's helper process $helper outlived the game"
  done
  flock -n "$work/runtime/AppMutex.lock" true || fail "the single-instance lock is still held"
  echo "SIGTERM with the box up: teardown ran, Save/Sys written, box helper gone, lock free"
fi
exit 0
