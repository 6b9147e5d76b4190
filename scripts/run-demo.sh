#!/usr/bin/env bash
# `make run`: plays a game, the demo by default. With a display (DISPLAY or WAYLAND_DISPLAY set)
# it opens the game's window. Without one, the demo plays headless through its scripted
# play-through (tests/games/demo-playthrough.input) from the title to the ending, on the virtual
# clock (--fast: about three minutes of game in a few seconds), in a copy of its folder so the
# saves of real play stay as they were. It prints the message boxes the game showed and says
# where the screenshots of the key scenes and the recorded sound are.
#   run-demo.sh BUILD_DIR [GAME_DIR]
set -eu
build=${1:?usage: run-demo.sh BUILD_DIR [GAME_DIR]}
game=${2:-$build/games/demo}
kelvox=$build/kelvox
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$kelvox" "$game"
fi
if [ "$(cd "$game" && pwd)" != "$(cd "$build/games/demo" && pwd)" ]; then
  echo "No display: $game runs headless until it ends (Ctrl-C stops it)."
  exec "$kelvox" --headless "$game"
fi

input=$(cd "$(dirname "$0")/.." && pwd)/tests/games/demo-playthrough.input
out=$build/demo-run
rm -rf "$out"
mkdir -p "$out"
cp -r "$game" "$out/game"
shots=()
names=()
while read -r _ _ tick name; do
  shots+=(--screenshot-at "$tick:$out/$name.png")
  names+=("$name.png")
done < <(grep '^# shot ' "$input")

echo "No display: the demo plays headless, as scripted in tests/games/demo-playthrough.input."
"$kelvox" --headless --fast --input "$input" --audio-out "$out/demo.wav" "${shots[@]}" "$out/game" >"$out/messages.log"
if [ -s "$out/messages.log" ]; then
  echo "Message boxes:"
  cat "$out/messages.log"
else
  echo "Message boxes: none (debug boxes appear only in developer mode, D on the title)."
fi
echo "Screenshots of the key scenes, in $out/: ${names[*]}"
echo "The sound it played: $out/demo.wav"
echo "With a display, 'make run' opens the game's window instead."
