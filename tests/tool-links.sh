#!/usr/bin/env bash
# A tool links only what it uses: kvasm and kvdis need the platform's core and no media
# library (libpng, FreeType, fontconfig, libsndfile, SDL, GTK …), so that they build where
# those are missing. Reads each program's link command from the Ninja build; other
# generators skip. Usage: tool-links.sh BUILD_DIR MAKE_PROGRAM TARGET...
build=${1:?usage: tool-links.sh BUILD_DIR MAKE_PROGRAM TARGET...}
make_program=${2:?}
shift 2
case $(basename "$make_program") in
  ninja*) ;;
  *) echo "not a Ninja build: skipped"; exit 77 ;;
esac
status=0
for target in "$@"; do
  link=$("$make_program" -C "$build" -t commands "$target" | tail -n 1)
  [ -n "$link" ] || { echo "no link command for $target"; exit 1; }
  media=$(tr ' ' '\n' <<<"$link" | grep -E '(png|jpeg|freetype|fontconfig|sndfile|SDL2|gtk|fluidsynth)' | sort -u)
  if [ -n "$media" ]; then
    echo "$target links media libraries:" $media
    status=1
  fi
done
[ $status = 0 ] && echo "tool links: ok ($*)"
exit $status
