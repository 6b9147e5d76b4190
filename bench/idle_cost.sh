#!/usr/bin/env bash
# What a running game costs the machine: CPU seconds and peak memory of kelvox for three
# scenes (a still screen, a sprite that moves every frame, transitions one after another; see
# scenes/), each run for SECONDS headless and in a window, beside kelvox-minimal-present, a
# minimal SDL2 program that shows the same 640 x 480 frame at 30 frames a second with the same
# renderer: the cost of the window itself. Windows open on a private Xvfb server.
#
#   bench/idle_cost.sh build/kelvox build/kvasm build/bench/kelvox-minimal-present [SECONDS]
#
# Both windows have the same scale: KELVOX_SCALE from the environment, else 1 (640 x 480
# window pixels). SDL_RENDER_DRIVER=software (or opengl) in the environment picks the
# renderer of both programs. Other programs on the machine do not change a process's CPU seconds much, but
# they do change the wall time: the figures are for the process alone.
set -eu
kelvox=$(realpath "${1:?usage: idle_cost.sh KELVOX KVASM MINIMAL [SECONDS]}")
kvasm=$(realpath "${2:?}")
minimal=$(realpath "${3:?}")
seconds=${4:-10}
frames=$((seconds * 30))
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvox-idle.XXXXXX")
# shellcheck source=../tests/smoke/xvfb.sh
source "$here/../tests/smoke/xvfb.sh"
trap 'stop_xvfb; rm -rf "$work"' EXIT
# A runtime folder of its own: the single-instance lock of another kelvox does not stop ours.
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER=dummy
export KELVOX_SCALE=${KELVOX_SCALE:-1}

# Runs "$@" and prints its CPU seconds (user + system), the share of one core over [seconds],
# and the peak resident memory in MiB.
measure() {
  local label=$1
  shift
  /usr/bin/time -f "%U %S %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
    echo "$label: failed"
    cat "$work/stderr"
    return 1
  }
  read -r user sys rss <"$work/time"
  awk -v l="$label" -v u="$user" -v s="$sys" -v r="$rss" -v t="$seconds" \
    'BEGIN { printf "%-26s %8.2f %8.1f %% %8.1f\n", l, u + s, 100 * (u + s) / t, r / 1024 }'
}

for scene in idle sprite transition; do
  "$kvasm" "$here/scenes/$scene.kvs" -o "$work/$scene" >/dev/null
done

printf "%-26s %8s %10s %8s\n" "run (${seconds} s, scale $KELVOX_SCALE)" "CPU s" "of a core" "peak MiB"
for scene in idle sprite transition; do
  measure "$scene headless" "$kelvox" --headless --frames "$frames" "$work/$scene"
done
start_xvfb
for scene in idle sprite transition; do
  measure "$scene window" "$kelvox" --frames "$frames" "$work/$scene"
done
measure "minimal SDL2 window" "$minimal" "$seconds" "$KELVOX_SCALE"
grep -h "^renderer" "$work/stderr" || true
