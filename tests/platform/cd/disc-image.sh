#!/usr/bin/env bash
# A game played from a disc image alone. The test makes the disc: an ISO 9660 file system
# (xorriso) holding the game's picture, then a CD-audio track of a known tone after it, laid out
# by a cue sheet; and the same disc with its audio as a FLAC file. The game folder holds only the
# script and Kelvox.ini, whose [SearchPath] names the disc's label: the picture must come from
# the image, CdPlay 2 must record the tone, whole and once, and the game (which ends when
# CdIsPlaying says the track is over) must end within a few ticks of the track's length.
set -eu
kelvox=${1:?usage: disc-image.sh KELVOX KVASM WORKDIR}
kvasm=$2
work=$3
rm -rf "$work"
mkdir -p "$work/picture" "$work/root/Data/Grd" "$work/game" "$work/flac"
export LC_ALL=C

# The picture: a frame of kelvox's own, 64 x 48 of 0x3080C0, saved as a PNG.
cat >"$work/picture.kvs" <<'KVS'
.code
    64 48 0 SetScreenMode
    64 48 3178688 0 1 GeneratePattern
    1 0 0 10 1 SetSprite
    WaitDrawnFrame
    End
KVS
"$kvasm" "$work/picture.kvs" -o "$work/picture" >/dev/null
"$kelvox" --headless --frames 5 --screenshot "$work/root/Data/Grd/Sky.png" "$work/picture" >/dev/null

cat >"$work/game.kvs" <<'KVS'
.data
label: .string "KVXDISC"
picture: .string "sky.png"
.code
    64 48 0 SetScreenMode
    picture 0 1 LoadPattern
    1 0 0 10 1 SetSprite
    WaitDrawnFrame
    label CdOpen Drop
    2 CdPlay
wait:
    WaitFrame
    CdIsPlaying wait JumpIf
    End
KVS
"$kvasm" "$work/game.kvs" -o "$work/game" >/dev/null
printf '[SearchPath]\r\nLabel=kvxdisc\r\nPath=\\DATA\r\n' >"$work/game/Kelvox.ini"
[ ! -e "$work/game/Grd" ] || { echo "the game folder must not hold the picture"; exit 1; }

# The tone: a square wave of HALF frames up, HALF down, at +/-LEVEL, FRAMES frames (whole
# sectors of 588 frames); before it a pregap of PREGAP sectors at 1234, which is never played.
LEVEL=6699 HALF=50 FRAMES=44100 PREGAP=150
sectors=$((FRAMES / 588))
samples() {  # COUNT VALUE...: COUNT stereo frames cycling through the values, HALF frames each
  awk -v count="$1" -v half="$HALF" -v values="$2" 'BEGIN {
    n = split(values, v, ",")
    for (i = 0; i < count; i++) {
      x = v[int(i / half) % n + 1]; if (x < 0) x += 65536
      printf "%c%c%c%c", x % 256, int(x / 256), x % 256, int(x / 256)
    } }'
}
xorriso -as mkisofs -quiet -V KVXDISC -J -o "$work/disc.iso" "$work/root" 2>"$work/xorriso.log"
iso_sectors=$(($(stat -c %s "$work/disc.iso") / 2048))
samples $((PREGAP * 588)) 1234 >"$work/pregap.raw"
samples "$FRAMES" "$LEVEL,-$LEVEL" >"$work/tone.raw"
[ "$(stat -c %s "$work/tone.raw")" -eq $((FRAMES * 4)) ] || { echo "the tone was not written whole"; exit 1; }
cat "$work/disc.iso" "$work/pregap.raw" "$work/tone.raw" >"$work/Disc Image.bin"
msf() { printf '%02d:%02d:%02d' $(($1 / 4500)) $(($1 / 75 % 60)) $(($1 % 75)); }
cat >"$work/disc.cue" <<CUE
REM the data track in 2048-byte sectors, then the tone in the same file
FILE "disc image.BIN" BINARY
  TRACK 01 MODE1/2048
    INDEX 01 00:00:00
  TRACK 02 AUDIO
    INDEX 00 $(msf "$iso_sectors")
    INDEX 01 $(msf $((iso_sectors + PREGAP)))
CUE

# The FLAC disc: the same file system without Joliet names (SKY.PNG), the tone as FLAC.
xorriso -as mkisofs -quiet -V KVXDISC -o "$work/flac/data.iso" "$work/root" 2>>"$work/xorriso.log"
flac --silent --force-raw-format --endian=little --sign=signed --channels=2 --bps=16 --sample-rate=44100 \
  -o "$work/flac/Track02.flac" "$work/tone.raw"
printf 'FILE "data.iso" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\nFILE "track02.flac" FLAC\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n' \
  >"$work/flac/disc.cue"

# Checks one run's recording and screenshot. RUN names it in messages.
check_run() {
  local run=$1 out=$2 shot=$3 boxes=$4
  [ ! -s "$boxes" ] || { echo "$run: the game showed a message box: $(cat "$boxes")"; exit 1; }
  cmp -s "$shot" "$work/root/Data/Grd/Sky.png" || { echo "$run: the picture from the disc was not shown"; exit 1; }
  # Left channel, one sample a line.
  od -An -t d2 -j 44 -v "$out" | tr -s ' ' '\n' | grep -v '^$' | awk 'NR % 2 == 1' >"$work/left.txt"
  awk -v level="$LEVEL" -v half="$HALF" -v frames="$FRAMES" -v run="$run" '
    { s[NR] = $1 }
    END {
      first = 0; last = 0; up = 0; down = 0; flips = 0; pregap = 0
      for (i = 1; i <= NR; i++) {
        if (s[i] == level || s[i] == -level) { if (!first) first = i; last = i }
        if (s[i] == level) up++
        if (s[i] == -level) down++
        if (s[i] == 1234) pregap++
        if (i > 1 && s[i] * s[i - 1] < 0 && (s[i] == level || s[i] == -level)) flips++
      }
      # The tone as made: frames / 2 samples at each level, and frames / half - 1 changes of
      # sign (two per period of 2 * half frames: 441 Hz).
      if (up != frames / 2 || down != frames / 2) { printf "%s: %d up and %d down, not %d each\n", run, up, down, frames / 2; exit 1 }
      if (flips != frames / half - 1) { printf "%s: %d changes of sign, not %d\n", run, flips, frames / half - 1; exit 1 }
      if (last - first + 1 != frames) { printf "%s: the tone spans %d frames, not %d\n", run, last - first + 1, frames; exit 1 }
      if (pregap) { printf "%s: the pregap was played\n", run; exit 1 }
      # The game ends on the tick after the notice: within 5 ticks of 1470 frames.
      if (NR - last > 5 * 1470) { printf "%s: the game ran %d frames past the track\n", run, NR - last; exit 1 }
    }' "$work/left.txt"
}

KELVOX_DISCS="$work/disc.cue" "$kelvox" --headless --frames 300 --audio-out "$work/raw.wav" \
  --screenshot "$work/raw.png" "$work/game" >"$work/raw-boxes.txt"
check_run "raw track" "$work/raw.wav" "$work/raw.png" "$work/raw-boxes.txt"

# The FLAC disc from the game's Discs/ folder, under a label of KELVOX_VOLUMES's too.
mkdir -p "$work/game/discs"
ln -s "$work/flac/disc.cue" "$work/game/discs/disc.cue"
"$kelvox" --headless --frames 300 --audio-out "$work/flac.wav" --screenshot "$work/flac.png" "$work/game" \
  >"$work/flac-boxes.txt"
check_run "FLAC track" "$work/flac.wav" "$work/flac.png" "$work/flac-boxes.txt"

# --list-discs: both discs, their tracks and lengths; a damaged sheet named with its line.
printf 'FILE "x.bin" BINARY\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n  TRACK 01 AUDIO\n' >"$work/bad.cue"
KELVOX_VOLUMES="OTHER=$work/disc.cue" KELVOX_DISCS="$work/bad.cue" "$kelvox" --list-discs "$work/game" >"$work/list.txt"
expect() { grep -qF -- "$1" "$work/list.txt" || { echo "--list-discs lacks '$1':"; cat "$work/list.txt"; exit 1; }; }
expect "D: OTHER  image $work/disc.cue"
expect "E: KVXDISC  image $work/game/discs/disc.cue"
expect "track  1  data   $(msf "$iso_sectors")"
expect "track  2  audio  $(msf "$sectors")"
expect "not read: $work/bad.cue: line 4: TRACK 01 out of order after TRACK 2"
echo "disc-image: ok"
