#!/usr/bin/env bash
# `make dist`, then the distribution installed as a player would, in a temporary HOME:
# ./installer --yes puts the demo into ~/Games with its menu group and uninstall entry, the
# installed kelvox (file 1) plays the demo beside it headless, and the installed uninstaller
# takes it all away again: the sandbox holds exactly what it held before (once the desktop's
# own stores that every installation shares exist).
#   dist-install.sh SCRIPTS_DIR BUILD_DIR
set -u
scripts=$1 build=$2
command -v iconv >/dev/null || { echo "SKIPPED: iconv is not installed"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

export HOME=$tmp/home XDG_DATA_HOME=$tmp/home/.local/share XDG_CONFIG_HOME=$tmp/home/.config
export XDG_CACHE_HOME=$tmp/home/.cache XDG_STATE_HOME=$tmp/home/.local/state XDG_RUNTIME_DIR=$tmp/home/run
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME/Games" "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
echo "a saved file of another game" >"$HOME/Games/keep.txt"
# Every entry with its kind, mode and size, and every file's checksum.
listing() {
  (cd "$HOME" && find . -printf '%y %m %s %p -> %l\n' | LC_ALL=C sort && find . -type f -exec md5sum {} + | LC_ALL=C sort -k2)
}

bash "$scripts/make-dist.sh" "$build" "$tmp/dist" >"$tmp/dist.log" 2>&1 || { cat "$tmp/dist.log"; fail "make-dist.sh"; }
iconv -f CP932 -t UTF-8 "$tmp/dist/installer.inf" >"$tmp/inf.txt" || fail "installer.inf is not Shift-JIS"
grep -q $'^1=kelvox\r$' "$tmp/inf.txt" || fail "the engine is not file 1"
grep -q $'^[0-9]*=Script\\\\Code.ssb\r$' "$tmp/inf.txt" || fail "the script is not in the setup file"
inst=$HOME/Games/Kelvox/StarHill

# Installs, checks and plays the demo, and uninstalls it again.
install_play_uninstall() {
  "$tmp/dist/installer" --yes --no-start >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; fail "installer --yes ended with $?"; }
  (cd "$tmp/dist" && find . -type f ! -name installer.inf ! -name installer) | while read -r f; do
    cmp -s "$tmp/dist/$f" "$inst/$f" || fail "$f was not installed as it is in the distribution"
  done || exit 1
  [ -x "$inst/kelvox" ] || fail "the installed engine is not executable"
  ls "$XDG_DATA_HOME/applications/星降る丘の天文台/"*.desktop >/dev/null 2>&1 || fail "no menu group"
  grep -q 'Uninstall\\StarHill\]' "$XDG_DATA_HOME/kelvox/registry.reg" || fail "no uninstall entry"

  # The installed game: kelvox without a folder plays the game beside it.
  "$inst/kelvox" --headless --fast --frames 30 >"$tmp/run.log" 2>&1 || { cat "$tmp/run.log"; fail "the installed demo did not run"; }
  [ -f "$inst/Save/Sys" ] || fail "the installed kelvox did not play the demo beside it"

  "$inst/installer" /r --yes >"$tmp/uninstall.log" 2>&1 || { cat "$tmp/uninstall.log"; fail "the uninstaller ended with $?"; }
  [ -e "$HOME/Games/Kelvox" ] && fail "the game's folders are still there"
  grep -q 'StarHill' "$XDG_DATA_HOME/kelvox/registry.reg" && fail "the registry still holds the game's keys"
  [ -e "$XDG_DATA_HOME/applications/星降る丘の天文台" ] && fail "the menu group is still there"
  return 0
}

# The first installation makes what a desktop keeps for every game: the registry store with
# its empty uninstall key, the system folder, the folders of merged menus. Those stay; from
# then on, an installation and its uninstallation leave the sandbox exactly as it was.
install_play_uninstall
listing >"$tmp/before"
install_play_uninstall
listing >"$tmp/after"
diff "$tmp/before" "$tmp/after" || fail "the sandbox is not as it was before the installation"
echo "PASS: the demo's distribution installs, plays and uninstalls without a trace"
