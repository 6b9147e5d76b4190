#!/usr/bin/env bash
# Drives the GTK wizard under Xvfb with xdotool: the wizard must open with the caption title +
# "のインストール", and a run through its pages (Next by its mnemonic, Finish by Enter) must
# install the sample and start it. Then the uninstall request's confirmation and the copy's
# progress dialog (caption title + "の削除") remove it again, the file the game left included.
# Everything happens in a temporary HOME. Skips (77) when Xvfb or xdotool is missing.
set -u
installer=$1
for tool in Xvfb xdotool iconv; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed (skipped)"; exit 77; }
done

tmp=$(mktemp -d)
xvfb_pid=
installer_pid=
cleanup() {
  [ -n "$installer_pid" ] && kill "$installer_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export HOME=$tmp/home XDG_DATA_HOME=$tmp/home/.local/share XDG_CONFIG_HOME=$tmp/home/.config
export XDG_CACHE_HOME=$tmp/home/.cache XDG_STATE_HOME=$tmp/home/.local/state XDG_RUNTIME_DIR=$tmp/run
export NO_AT_BRIDGE=1 GDK_BACKEND=x11
# Sanitizer builds: GTK's own caches are not our leaks.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-gtk.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
unset WAYLAND_DISPLAY
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# The display: Xvfb picks a free number and writes it to the file.
: > "$tmp/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start (skipped)"; cat "$tmp/xvfb.log"; exit 77; }
export DISPLAY=:$(head -n1 "$tmp/display")

# The sample distribution: the real installer, its configuration in Shift-JIS, a script as
# the game.
dist=$tmp/dist
mkdir -p "$dist/Data"
cp "$installer" "$dist/installer"
printf '#!/bin/sh\necho started > started.txt\n' > "$dist/kelvox"
chmod +x "$dist/kelvox"
echo data > "$dist/Data/a.dat"
printf '[Install]\r\nTitle=サンプル\r\nFolder=Kelvox\\Sample\r\n1=kelvox\r\n2=Data\\a.dat\r\n[Group]\r\n1=サンプル,kelvox\r\n2=サンプルの削除,installer,/r\r\n' \
  | iconv -f UTF-8 -t CP932 > "$dist/installer.inf"
inst=$HOME/Games/Kelvox/Sample

"$dist/installer" > "$tmp/installer.log" 2>&1 &
installer_pid=$!

wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^サンプルのインストール$' | head -n1)
[ -n "$wid" ] || { cat "$tmp/installer.log"; fail "no window with the caption サンプルのインストール"; }
[ "$(xdotool getwindowname "$wid")" = "サンプルのインストール" ] || fail "caption is '$(xdotool getwindowname "$wid")'"
xdotool windowfocus "$wid" 2>/dev/null
sleep 0.5

# A question about free space, should the disk be nearly full, is answered Yes (its default).
answer_questions() {
  for _ in 1 2 3; do
    q=$(xdotool search --onlyvisible --name '^サンプル$' 2>/dev/null | head -n1)
    [ -z "$q" ] && return
    xdotool windowfocus "$q" 2>/dev/null; xdotool key --clearmodifiers Return; sleep 0.5
  done
}

xdotool key --clearmodifiers alt+n   # destination page: Next with the proposed folder
sleep 1
answer_questions
xdotool key --clearmodifiers alt+n   # options page: Next with the start-menu box checked

# The last step writes the uninstall entry; Finish is then the default button.
for _ in $(seq 100); do
  grep -q UninstallString "$XDG_DATA_HOME/kelvox/registry.reg" 2>/dev/null && break
  sleep 0.1
done
grep -q UninstallString "$XDG_DATA_HOME/kelvox/registry.reg" 2>/dev/null || { cat "$tmp/installer.log"; fail "installation did not finish"; }
sleep 0.5
xdotool windowfocus "$wid" 2>/dev/null
xdotool key --clearmodifiers Return

for _ in $(seq 100); do kill -0 "$installer_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$installer_pid" 2>/dev/null && fail "the wizard did not end at Finish"
wait "$installer_pid"; status=$?
installer_pid=
[ "$status" -eq 0 ] || { cat "$tmp/installer.log"; fail "exit status $status"; }

for f in installer installer.inf kelvox Data/a.dat; do
  [ -f "$inst/$f" ] || fail "$inst/$f was not installed"
done
[ -f "$XDG_DATA_HOME/applications/サンプル/サンプル.desktop" ] || fail "no menu entry"
for _ in $(seq 50); do [ -f "$inst/started.txt" ] && break; sleep 0.1; done
[ -f "$inst/started.txt" ] || fail "the game was not started at Finish"

# Uninstall: confirm with OK, answer Yes for started.txt, close the dialog with 終了.
"$inst/installer" /r > "$tmp/uninstall.log" 2>&1 &
installer_pid=$!
q=$(timeout 30 xdotool search --sync --onlyvisible --name '^サンプル$' | head -n1)
[ -n "$q" ] || { cat "$tmp/uninstall.log"; fail "no confirmation box"; }
xdotool windowfocus "$q" 2>/dev/null; xdotool key --clearmodifiers Return
u=$(timeout 30 xdotool search --sync --onlyvisible --name '^サンプルの削除$' | head -n1)
[ -n "$u" ] || { cat "$tmp/uninstall.log"; fail "no uninstall dialog with the caption サンプルの削除"; }
sleep 1
answer_questions
for _ in $(seq 100); do [ -d "$inst" ] || break; sleep 0.1; done
[ -d "$inst" ] && fail "the installation folder is still there"
sleep 0.5
xdotool windowfocus "$u" 2>/dev/null; xdotool key --clearmodifiers Return
for _ in $(seq 100); do kill -0 "$installer_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$installer_pid" 2>/dev/null && fail "the uninstall dialog did not close at 終了"
wait "$installer_pid"; status=$?
installer_pid=
[ "$status" -eq 0 ] || { cat "$tmp/uninstall.log"; fail "uninstall exit status $status"; }
[ -e "$XDG_DATA_HOME/applications/サンプル" ] && fail "the menu entries are still there"
[ -e "$XDG_DATA_HOME/kelvox/system/installer" ] && fail "the uninstaller copy did not remove itself"
echo "PASS: the GTK wizard installed and started the sample, and its uninstaller removed it"
