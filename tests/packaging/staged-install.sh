#!/usr/bin/env bash
# `cmake --install` into a staging prefix: the programs, the demo, the desktop entry, the icons,
# the AppStream metadata and the manual pages land where a desktop looks for them; the staged
# kelvox, started without a folder, plays the installed demo (from a folder of the player's own,
# where its saves go), also after the prefix was moved; without the demo it names every place it looked and exits with 1.
# The desktop entry and the metadata pass their validators (skipped, status 77, only when a
# validator is not installed).
#   staged-install.sh BUILD_DIR INSTALLER(ON|OFF)
set -u
build=$1 with_installer=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
id=io.github.kelvox.Kelvox

cmake --install "$build" --prefix "$tmp/prefix" >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; fail "cmake --install"; }
p=$tmp/prefix
programs=(kelvox kvasm kvdis)
[ "$with_installer" = ON ] && programs+=(kelvox-installer)
for program in "${programs[@]}"; do [ -x "$p/bin/$program" ] || fail "bin/$program is not installed"; done
[ -e "$p/bin/installer" ] && fail "a program on the PATH is called installer"
pages=(man6/kelvox.6 man1/kvasm.1 man1/kvdis.1)
[ "$with_installer" = ON ] && pages+=(man1/kelvox-installer.1)
for page in "${pages[@]}"; do
  gzip -dc "$p/share/man/$page.gz" 2>/dev/null | grep -q '^\.TH ' || fail "no manual page $page.gz"
done
for size in 16 24 32 48 64 128 256; do
  png=$p/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$png is not a PNG picture"
  # The header's width and height, big-endian at bytes 16 and 20, and colour type 6 (RGBA).
  [ "$(od --endian=big -An -tu4 -j16 -N8 "$png" | tr -s ' ')" = " $size $size" ] || fail "$png is not $size x $size"
  [ "$(od -An -tu1 -j25 -N1 "$png" | tr -d ' ')" = 6 ] || fail "$png has no alpha channel"
done
grep -q '<svg' "$p/share/icons/hicolor/scalable/apps/$id.svg" || fail "no scalable icon"
[ -d "$p/share/kelvox/demo/Save" ] && fail "the build tree's saves were installed"

# Started without a folder: the demo under the prefix, found from the program's own folder and
# played from the player's own folder of links to it, where its saves go; the installed files
# get none. After the prefix moved, the links follow it.
export HOME=$tmp/home
unset XDG_DATA_HOME
play=$HOME/.local/share/kelvox/demo
plays_demo() {  # PREFIX: kelvox of PREFIX plays the demo under PREFIX for 30 ticks
  rm -rf "$play/Save"
  env -u DISPLAY -u WAYLAND_DISPLAY "$1/bin/kelvox" --headless --fast --frames 30 >"$tmp/run.log" 2>&1 ||
    { cat "$tmp/run.log"; fail "the staged kelvox in $1 did not run the demo"; }
  [ -s "$tmp/run.log" ] && { cat "$tmp/run.log"; fail "the demo said something"; }
  [ -f "$play/Save/Sys" ] || fail "the demo under $1 did not save into $play"
  [ "$(readlink "$play/Script")" = "$1/share/kelvox/demo/Script" ] || fail "$play/Script does not link to $1"
  [ -e "$1/share/kelvox/demo/Save" ] && fail "the installed demo got saves"
  return 0
}
plays_demo "$p"
mv "$p" "$tmp/moved"
plays_demo "$tmp/moved"

# Without any game: one message naming each place, status 1.
rm -rf "$tmp/moved/share/kelvox/demo"
env -u DISPLAY -u WAYLAND_DISPLAY "$tmp/moved/bin/kelvox" --headless --frames 1 >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" = 1 ] || fail "without a game the status is $status, not 1"
for place in "$tmp/moved/bin" "$tmp/moved/bin/games/demo" "$tmp/moved/share/kelvox/demo"; do
  grep -qxF "  $place" "$tmp/err" || { cat "$tmp/err"; fail "the message does not name $place"; }
done

missing=
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$tmp/moved/share/applications/$id.desktop" || fail "the desktop entry does not validate"
  grep -qx "Exec=kelvox" "$tmp/moved/share/applications/$id.desktop" || fail "the desktop entry does not start kelvox"
else
  missing+=" desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$tmp/moved/share/metainfo/$id.metainfo.xml" || fail "the metainfo does not validate"
else
  missing+=" appstreamcli"
fi
[ -n "$missing" ] && { echo "SKIPPED: not installed:$missing"; exit 77; }
echo "PASS: the staged installation plays its demo, moved or not, and its desktop files validate"
