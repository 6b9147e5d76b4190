#!/usr/bin/env bash
# kelvox --headless --screenshot / --screenshot-at: a small scene of generated patterns (a
# background, an added square, a keyed one and a half-way dissolve) is written as PNG files at
# a chosen tick and at exit, and no .part file is left behind. The pixels themselves are
# checked by the unit tests; this checks the command line end to end.
set -eu
kelvox=${1:?usage: screenshot.sh KELVOX KVASM WORKDIR}
kvasm=$2
work=$3
rm -rf "$work"
mkdir -p "$work/game"
cat >"$work/game.kvs" <<'KVS'
.code
    160 120 0 SetScreenMode
    160 120 3158064 0 1 GeneratePattern     ; 0x303030 background, opaque
    40 40 12582912 3 2 GeneratePattern      ; 0xC00000 added on top
    30 30 65535 1 3 GeneratePattern         ; 0x00FFFF keyed copy
    0 0 0 10 1 SetSprite
    1 20 20 5 2 SetSprite
    2 140 100 0 3 SetSprite                 ; hangs over the bottom right corner
    3 60 10 60 30 0 0 30 30 0 3 SetSpriteEx ; stretched to 60 x 30
    WaitDrawnFrame
    4 BeginEffect WaitDrawnFrame
    2 DestroySprite
    PrepareEffect WaitDrawnFrame
    0 DrawEffect 1 DrawEffect 32 DrawEffect WaitDrawnFrame   ; old picture, then two cells of 64 new
    WaitDrawnFrame
    End
KVS
"$kvasm" "$work/game.kvs" -o "$work/game" >/dev/null
"$kelvox" --headless --frames 20 --screenshot "$work/end.png" --screenshot-at 0:"$work/first.png" \
  "$work/game" >/dev/null
for f in first end; do
  [ -f "$work/$f.png" ] || { echo "no $f.png"; exit 1; }
  [ "$(head -c 4 "$work/$f.png" | tail -c 3)" = PNG ] || { echo "$f.png is not a PNG"; exit 1; }
  [ ! -e "$work/$f.png.part" ] || { echo "$f.png.part was left behind"; exit 1; }
done
# A tick that never comes, or a folder that does not exist, is an error at exit.
if "$kelvox" --headless --frames 2 --screenshot "$work/no/such/folder.png" "$work/game" >/dev/null 2>&1; then
  echo "an unwritable screenshot did not fail"; exit 1
fi
echo ok
