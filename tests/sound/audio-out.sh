#!/usr/bin/env bash
# kelvox --headless --audio-out: a game that plays a sound from its Wav folder leaves a
# canonical 16-bit stereo 44100 Hz WAV whose header sizes match the file and whose data holds
# the sound. The length follows the real clock, so only the sound's presence is checked.
set -eu
kelvox=${1:?usage: audio-out.sh KELVOX KVASM WORKDIR}
kvasm=$2
work=$3
rm -rf "$work"
mkdir -p "$work/game/Wav"
cat >"$work/game.kvs" <<'KVS'
.data
se: .string "beep"
.code
    640 480 0 SetScreenMode
    se 0 WavPlay
    WaitFrame WaitFrame WaitFrame
    End
KVS
"$kvasm" "$work/game.kvs" -o "$work/game" >/dev/null

# beep.wav: 8-bit mono 11025 Hz, 1102 samples alternating 0x20 and 0xE0 (a square wave).
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
{
  printf 'RIFF'; le32 $((36 + 1102)); printf 'WAVEfmt '; le32 16
  printf '\x01\x00\x01\x00'; le32 11025; le32 11025; printf '\x01\x00\x08\x00'
  printf 'data'; le32 1102
  for _ in $(seq 551); do printf '\x20\xe0'; done
} >"$work/game/Wav/beep.wav"

"$kelvox" --headless --frames 8 --audio-out "$work/out.wav" "$work/game" >/dev/null
[ -f "$work/out.wav" ] || { echo "no out.wav"; exit 1; }
[ ! -e "$work/out.wav.part" ] || { echo "the .part file was left behind"; exit 1; }
size=$(stat -c %s "$work/out.wav")
field() { od -An -t u4 -j "$1" -N 4 "$work/out.wav" | tr -d ' '; }
[ "$(head -c 4 "$work/out.wav")" = RIFF ] || { echo "no RIFF"; exit 1; }
[ "$(field 4)" -eq $((size - 8)) ] || { echo "RIFF size $(field 4), file $size"; exit 1; }
[ "$(field 40)" -eq $((size - 44)) ] || { echo "data size $(field 40), file $size"; exit 1; }
[ "$(field 24)" -eq 44100 ] || { echo "rate $(field 24)"; exit 1; }
# The square wave turns up as non-zero samples somewhere in the data.
loud=$(od -An -t d2 -j 44 -v "$work/out.wav" | tr -s ' ' '\n' | awk '$1 > 10000 || $1 < -10000' | wc -l)
[ "$loud" -gt 1000 ] || { echo "only $loud loud samples: the sound is missing"; exit 1; }
echo "audio-out: ok ($size bytes, $loud loud samples)"
