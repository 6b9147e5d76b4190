#!/usr/bin/env bash
# Peak memory and CPU time of kelvox on inputs built to be too big: a 32 x 32 PNG and a
# one-second WAV padded to 1.5 GB, a 1.9 GB saved game (under the old 2 GiB cap), a 100 MB Save\Sys of short lines (and one
# at the 8 MB cap), MIDI files of note events all at delta time 0 (10 MB, and 4 MB just under
# the cap), and 4,512 distinct kanji drawn at font height 1000. Each case is one headless run;
# its line gives the peak resident set (/usr/bin/time's "Maximum resident set size"), user +
# system CPU seconds, the slowest tick (kelvox --stats) and the boxes the run showed.
#
# usage: bench/hostile_inputs.sh KELVOX KVASM WORK_DIR [CASE...]
# Padded files are sparse, so the disk holds little; the runs may take gigabytes of memory and
# tens of seconds each on an engine that reads them whole.
set -eu
kelvox=$(realpath "${1:?usage: hostile_inputs.sh KELVOX KVASM WORK_DIR [CASE...]}")
kvasm=$(realpath "${2:?}")
work=${3:?}
shift 3
cases=("$@")
[ ${#cases[@]} -eq 0 ] && cases=(png wav save sys100m sys8m midi10m midi4m kanji)
mkdir -p "$work"
work=$(realpath "$work")

# game NAME SOURCE: a game folder assembled from SOURCE (kvasm syntax).
game() {
  rm -rf "$work/$1"
  mkdir -p "$work/$1"
  printf '%s\n' "$2" >"$work/$1.kvs"
  "$kvasm" "$work/$1.kvs" -o "$work/$1"
}

# run NAME [OPTIONS...]: one measured headless run of the game NAME.
run() {
  local name=$1
  shift
  local out="$work/$name.out" timing="$work/$name.time"
  /usr/bin/time -v "$kelvox" --headless --stats "$@" "$work/$name" >"$out" 2>"$timing" || true
  local rss user sys slowest boxes
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$timing")
  user=$(awk -F': ' '/User time/ {print $2}' "$timing")
  sys=$(awk -F': ' '/System time/ {print $2}' "$timing")
  slowest=$(grep -o 'slowest [0-9.]* *ms' "$out" | head -1 || true)
  boxes=$(grep -v -E '^(ticks|frames|tick period)' "$out" | grep -c . || true)
  printf '%-8s peak %8d KB  cpu %6.2f s  %s  boxes %s\n' "$name" "$rss" "$(awk -v u="$user" -v s="$sys" 'BEGIN {print u + s}')" "${slowest:-}" "$boxes"
}

python3 - "$work" <<'EOF'
# The input files: a valid 32 x 32 PNG and a one-second WAV, each padded later; Save\Sys and
# MIDI files of the sizes wanted.
import struct, sys, zlib
work = sys.argv[1]
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
rows = b''.join(b'\x00' + b'\x80\x40\x20' * 32 for _ in range(32))
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 32, 32, 8, 2, 0, 0, 0)) + \
      chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b'')
open(f'{work}/input-small.png', 'wb').write(png)
data = b'\x00\x10' * 44100 * 2
wav = b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' + struct.pack('<IHHIIHH', 16, 1, 2, 44100, 176400, 4, 16) + \
      b'data' + struct.pack('<I', len(data)) + data
open(f'{work}/input-small.wav', 'wb').write(wav)
def sysfile(size):  # short distinct lines, scrambled with 0x5C
    out, i = bytearray(b'VMSF\x00'), 0
    while len(out) < size:
        out += b':%x\r\n' % i
        i += 1
    return bytes(b ^ 0x5C for b in out[:size])
open(f'{work}/input-sys100m', 'wb').write(sysfile(100 << 20))
open(f'{work}/input-sys8m', 'wb').write(sysfile(8 << 20))
def midi(size):  # one track of note-ons, all at delta time 0 (running status: 3 bytes each)
    events = bytearray(b'\x00\x90\x3c\x40')
    while len(events) < size - 30:
        events += b'\x00\x3c\x40'
    events += b'\x00\xff\x2f\x00'
    return b'MThd' + struct.pack('>IHHH', 6, 0, 1, 96) + b'MTrk' + struct.pack('>I', len(events)) + bytes(events)
open(f'{work}/input-midi10m', 'wb').write(midi(10 << 20))
open(f'{work}/input-midi4m', 'wb').write(midi((4 << 20) - 64))
kanji = []  # JIS X 0208 kanji from 0x889F on, in Shift-JIS order
for lead in list(range(0x88, 0xA0)) + list(range(0xE0, 0xEB)):
    for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
        try:
            k = bytes([lead, trail]).decode('shift_jis')
        except UnicodeDecodeError:
            continue
        if (lead, trail) >= (0x88, 0x9F) and len(kanji) < 4512 and k.encode('cp932') == bytes([lead, trail]):
            kanji.append(k)
open(f'{work}/input-kanji.kvs', 'w').write(
    '.code\n 640 480 0 SetScreenMode 1000 1100 1100 0 TextInit\n' +
    ''.join(f' 0 TextClear k{i} 0 TextAddString 1 -1 0 TextDraw\n' for i in range(4512)) +
    ' End\n.data\n' + ''.join(f'k{i}: .string "{k}"\n' for i, k in enumerate(kanji[:4512])))
EOF

for c in "${cases[@]}"; do
  case $c in
    png)
      game png '.code
 640 480 0 SetScreenMode pic 0 1 LoadPattern End
.data
pic: .string "big.png"'
      mkdir -p "$work/png/Grd" && cp "$work/input-small.png" "$work/png/Grd/big.png" && truncate -s 1500M "$work/png/Grd/big.png"
      run png ;;
    wav)
      game wav '.code
 640 480 0 SetScreenMode 0 snd WavPlay WaitFrame End
.data
snd: .string "big"'
      mkdir -p "$work/wav/Wav" && cp "$work/input-small.wav" "$work/wav/Wav/big.wav" && truncate -s 1500M "$work/wav/Wav/big.wav"
      run wav ;;
    save)
      game save '.code
 0 LoadState End'
      mkdir -p "$work/save/Save" && rm -f "$work/save/Save/Save00" && truncate -s 1900M "$work/save/Save/Save00"
      run save ;;
    sys100m | sys8m)
      game "$c" '.code
 End'
      mkdir -p "$work/$c/Save" && cp "$work/input-$c" "$work/$c/Save/Sys"
      run "$c" --answer ok ;;
    midi10m | midi4m)
      game "$c" '.code
 640 480 0 SetScreenMode song MidiPlay
loop: WaitFrame loop Jump
.data
song: .string "song.mid"'
      mkdir -p "$work/$c/Midi" && cp "$work/input-$c" "$work/$c/Midi/song.mid"
      run "$c" --frames 90 ;;
    kanji)
      rm -rf "$work/kanji-game" && mkdir -p "$work/kanji-game"
      "$kvasm" "$work/input-kanji.kvs" -o "$work/kanji-game"
      run kanji-game ;;
    *) echo "unknown case $c" >&2; exit 2 ;;
  esac
done
