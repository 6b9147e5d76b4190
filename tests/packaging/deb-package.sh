#!/usr/bin/env bash
# CPack's .deb from the build tree as it is (cpack installs what was built, builds nothing):
# every library a program of the package links directly belongs to a package its Depends
# names, the SoundFont and the Japanese font it loads by name are named too, and the kelvox
# unpacked with dpkg-deb, started without a folder, plays the packaged demo headless.
#   deb-package.sh BUILD_DIR
set -u
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps objdump; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(find "$tmp/out" -maxdepth 1 -name '*.deb' | head -n1)
[ -n "$deb" ] || fail "cpack made no .deb"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
has() { tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g' | grep -qxF "$1"; }

dpkg-deb -x "$deb" "$tmp/root"
for program in "$tmp/root/usr/bin/"*; do
  for lib in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
    path=$(ldconfig -p | awk -v l="$lib" '$1 == l { print $NF; exit }')
    [ -n "$path" ] || fail "$(basename "$program") needs $lib, which this machine does not have"
    package=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null)
    package=${package%%:*}
    [ -n "$package" ] || fail "no package holds $path"
    has "$package" || fail "$(basename "$program") needs $lib from $package, which Depends leaves out"
  done
done
has timgm6mb-soundfont || fail "Depends leaves out the General MIDI SoundFont"
has fonts-ipafont-gothic || fail "Depends leaves out the Japanese font"

env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME HOME="$tmp/home" "$tmp/root/usr/bin/kelvox" --headless --fast --frames 30 \
  >"$tmp/run.log" 2>&1 || { cat "$tmp/run.log"; fail "the unpacked kelvox did not run"; }
[ -f "$tmp/home/.local/share/kelvox/demo/Save/Sys" ] || fail "the unpacked kelvox did not play the packaged demo"
[ "$(readlink "$tmp/home/.local/share/kelvox/demo/Script")" = "$tmp/root/usr/share/kelvox/demo/Script" ] ||
  fail "the demo played is not the packaged one"
echo "PASS: $(basename "$deb") ($(stat -c %s "$deb") bytes) plays its demo unpacked"
