#!/usr/bin/env bash
# `make dist`: a distribution folder of the demo game, as a game ships on its disc: the
# installer with its setup file (installer.inf, Shift-JIS), the engine as the game's main
# program, and the game's data. Running ./installer there installs the demo like any game.
#   make-dist.sh BUILD_DIR DIST_DIR
# DIST_DIR is made anew: a folder of that name that is not an earlier distribution (it has no
# installer.inf) is left alone and refused.
set -eu
build=${1:?usage: make-dist.sh BUILD_DIR DIST_DIR}
dist=${2:?usage: make-dist.sh BUILD_DIR DIST_DIR}
game=$build/games/demo
for f in "$build/kelvox" "$build/installer" "$game/Script/Code.ssb"; do
  [ -f "$f" ] || { echo "make-dist: $f is missing (build first; the installer needs KELVOX_INSTALLER=ON)" >&2; exit 1; }
done
if [ -e "$dist" ] || [ -L "$dist" ]; then
  if [ -L "$dist" ] || [ ! -d "$dist" ] || { [ -n "$(ls -A "$dist")" ] && [ ! -f "$dist/installer.inf" ]; }; then
    echo "make-dist: $dist is there and is not a distribution folder; not replaced" >&2
    exit 1
  fi
  rm -rf -- "$dist"
fi
mkdir -p "$dist"

cp "$build/installer" "$build/kelvox" "$dist/"
# The game's data as the build made it, without what playing it in the build tree left there.
(cd "$game" && cp -r Script Grd Wav Midi Discs Kelvox.ini "$dist/")

# The setup file: the engine is file 1 (started when the installation finishes), then every
# data file by its Windows name; a menu group with the game and its uninstall item; the
# registry key the uninstallation removes.
{
  printf '[Install]\r\nTitle=星降る丘の天文台\r\nFolder=Kelvox\\StarHill\r\n1=kelvox\r\n'
  n=2
  while IFS= read -r file; do
    printf '%d=%s\r\n' "$n" "${file//\//\\}"
    n=$((n + 1))
  done < <(cd "$dist" && find Kelvox.ini Script Grd Wav Midi Discs -type f | LC_ALL=C sort)
  printf '[Group]\r\n1=星降る丘の天文台,kelvox\r\n2=星降る丘の天文台の削除,installer,/r\r\n'
  printf '[Reg]\r\n1=HKEY_CURRENT_USER\\Software\\Kelvox\\StarHill\r\n'
} | iconv -f UTF-8 -t CP932 > "$dist/installer.inf"
echo "make-dist: $dist holds the demo's distribution; install it with $dist/installer"
