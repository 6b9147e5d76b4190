#!/usr/bin/env bash
# `make run` without a display: the demo plays headless through its scripted play-through, in a
# copy of its folder (the demo's own folder gets no saves), and says where the screenshots and
# the sound are; each file it names is there. Another game runs headless to its end.
#   make-run.sh SCRIPTS_DIR BUILD_DIR
set -u
scripts=$1 build=$2
fail() { echo "FAILED: $*"; echo "--- output:"; cat "$log"; exit 1; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
saves_before=$(ls "$build/games/demo/Save" 2>/dev/null)

env -u DISPLAY -u WAYLAND_DISPLAY bash "$scripts/run-demo.sh" "$build" >"$log" 2>&1 || fail "run-demo.sh ended with $?"
grep -q "^Message boxes: none" "$log" || fail "the message boxes are not reported, or there were some"
shots=$(sed -n 's/^Screenshots of the key scenes, in \(.*\)\/: \(.*\)$/\2/p' "$log")
[ -n "$shots" ] || fail "no screenshots named"
for shot in $shots; do
  [ "$(head -c 4 "$build/demo-run/$shot" | tail -c 3)" = PNG ] || fail "$shot is not a PNG picture"
done
[ "$(wc -w <<<"$shots")" -ge 10 ] || fail "fewer than ten key scenes: $shots"
wav=$(sed -n 's/^The sound it played: //p' "$log")
[ "$(head -c 4 "$wav")" = RIFF ] && [ "$(stat -c %s "$wav")" -gt $((4 * 44100 * 150)) ] || fail "$wav is not the game's sound"
[ "$(ls "$build/games/demo/Save" 2>/dev/null)" = "$saves_before" ] || fail "the demo's own saves changed"

env -u DISPLAY -u WAYLAND_DISPLAY timeout 30 bash "$scripts/run-demo.sh" "$build" "$build/games/sample" >"$log" 2>&1 ||
  fail "the sample game did not run headless to its end"
echo "make run without a display: ok ($(wc -w <<<"$shots") screenshots, $wav)"
