#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kelvox need, and only those
# that are missing. Runs apt-get directly as root, else through sudo.
set -eu

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev                      # window, events, cursor, message boxes
  libpng-dev libjpeg-dev zlib1g-dev  # the picture decoders (libjpeg-dev brings libjpeg-turbo)
  libfluidsynth-dev timgm6mb-soundfont  # MIDI music: the synthesizer and a General MIDI SoundFont
  libsndfile1-dev                  # CD-audio tracks ripped to FLAC, Ogg, WAV or MP3 files
  libcdio-dev libiso9660-dev       # disc images (.iso, .cue) and discs in drives
  xorriso flac                     # the disc-image tests build their ISO and FLAC tracks
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic  # text: glyphs, face matching, a Japanese font
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev liblua5.4-dev lua5.4   # kelvox-bench and its Lua reference
  libpixman-1-dev                  # kelvox-bench: pixman as a peer of the pixel cases
  xvfb xauth x11-utils xfonts-base  # the windowed smoke test (xwininfo; fonts for SDL's boxes)
  imagemagick                      # the demo's window test: the window system's own screenshot
  clang libclang-rt-dev            # fuzz targets (libFuzzer)
  libgtk-3-dev                     # the installer's wizard
  desktop-file-utils xdg-utils xdotool  # Desktop Entry checks, menus, the wizard test
  appstream                        # the packaging test validates the AppStream metadata
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
