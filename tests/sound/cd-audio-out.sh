#!/usr/bin/env bash
# kelvox --headless --audio-out with a disc named in KELVOX_VOLUMES: the game plays track 2
# once and waits until CdIsPlaying says it is over, then ends. The recording holds the track,
# a constant level, whole and once; the game ends on its own, long before its frame limit, so
# the completion notice came back through the window to the script.
set -eu
kelvox=${1:?usage: cd-audio-out.sh KELVOX KVASM WORKDIR}
kvasm=$2
work=$3
rm -rf "$work"
mkdir -p "$work/game" "$work/disc/Audio"
cat >"$work/game.kvs" <<'KVS'
.data
label: .string "zarveth"
.code
    640 480 0 SetScreenMode
    label CdOpen Drop
    2 CdPlay
wait:
    WaitFrame
    CdIsPlaying wait JumpIf
    End
KVS
"$kvasm" "$work/game.kvs" -o "$work/game" >/dev/null

# Audio/Track02.WAV: 16-bit stereo 44100 Hz, 22050 frames (half a second), every sample 0x1000.
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
{
  printf 'RIFF'; le32 $((36 + 88200)); printf 'WAVEfmt '; le32 16
  printf '\x01\x00\x02\x00'; le32 44100; le32 176400; printf '\x04\x00\x10\x00'
  printf 'data'; le32 88200
  head -c 88200 /dev/zero | tr '\0' '\n' | sed 's/.*/\x00\x10/' | tr -d '\n' | head -c 88200
} >"$work/disc/Audio/Track02.WAV"
[ "$(stat -c %s "$work/disc/Audio/Track02.WAV")" -eq $((44 + 88200)) ] || { echo "bad track file"; exit 1; }

KELVOX_VOLUMES="ZARVETH=$work/disc" "$kelvox" --headless --frames 300 --audio-out "$work/out.wav" "$work/game" >/dev/null
size=$(stat -c %s "$work/out.wav")
# 300 ticks would be 10 s; the game ends after the half-second track and a few ticks more.
[ "$size" -lt $((44 + 4 * 44100 * 3)) ] || { echo "the game did not end after the track ($size bytes)"; exit 1; }
level=$(od -An -t d2 -j 44 -v "$work/out.wav" | tr -s ' ' '\n' | grep -c '^4096$' || true)
[ "$level" -eq 44100 ] || { echo "$level samples at the track's level, not 44100"; exit 1; }
echo "cd-audio-out: ok ($size bytes, the track whole once)"
