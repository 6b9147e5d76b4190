#!/usr/bin/env bash
# The demo in a real window on a private virtual X server, in real time: the title, then New
# game and a right click on the first line. While the title waits, and while the right-click
# menu waits over the scene, the window system's own screenshot of the window (ImageMagick's
# import) must match the engine's screenshot of that tick pixel for pixel. The window carries
# the program's 64 x 64 icon. Skips (77) without Xvfb or ImageMagick.
#   demo-window.sh KELVOX GAME_DIR WORK_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../smoke/xvfb.sh"
kelvox=$1 game=$2 work=$3
caption="星降る丘の天文台 ― Kelvox デモ"
for tool in import compare xwininfo xprop; do
  command -v $tool >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done

rm -rf "$work"
mkdir -p "$work"
cp -r "$game" "$work/game"
# The title is still until tick 150; New game; the first line is whole by tick 260; the right
# click at 300 opens the menu, still from then on.
cat >"$work/input" <<'IN'
140 mouse 510 233
150 down left
152 up left
300 down right
302 up right
IN

kelvox_pid=""
cleanup() {
  [ -n "$kelvox_pid" ] && kill "$kelvox_pid" 2>/dev/null && wait "$kelvox_pid" 2>/dev/null
  stop_xvfb
}
trap cleanup EXIT
start_xvfb || exit $?
mkdir -m 700 "$work/runtime"
env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime" \
  timeout -k 5 60 "$kelvox" --scale 1 --frames 480 --input "$work/input" \
  --screenshot-at 100:"$work/title-engine.png" --screenshot-at 380:"$work/menu-engine.png" \
  "$work/game" >"$work/kelvox.log" 2>&1 &
kelvox_pid=$!

fail() {
  echo "FAILED: $*"
  cat "$work/kelvox.log"
  exit 1
}

# Waits up to 30 s for the engine's screenshot [$1], then has the X server take the window's.
grab_after() {
  for _ in $(seq 300); do
    [ -f "$1" ] && break
    kill -0 "$kelvox_pid" 2>/dev/null || fail "kelvox ended before $(basename "$1")"
    sleep 0.1
  done
  [ -f "$1" ] || fail "no $(basename "$1") within 30 s"
  id=$(LC_ALL=C.UTF-8 xwininfo -root -tree | grep -F -- "\"$caption\": " | awk '{print $1; exit}')
  [ -n "$id" ] || fail "no window captioned \"$caption\""
  import -window "$id" "$2" || fail "import could not grab the window"
}

for scene in title menu; do
  grab_after "$work/$scene-engine.png" "$work/$scene-window.png"
  differ=$(compare -metric AE "$work/$scene-engine.png" "$work/$scene-window.png" null: 2>&1)
  [ "$differ" = 0 ] || fail "$scene: $differ pixels differ between the window and the engine's screenshot"
  echo "$scene: the window shows the engine's frame exactly"
done
LC_ALL=C xprop -id "$id" _NET_WM_ICON | grep -q "Icon (64 x 64)" || fail "the window has no 64 x 64 icon"
wait "$kelvox_pid"
status=$?
kelvox_pid=""
[ "$status" -eq 0 ] || fail "kelvox ended with status $status"
exit 0
