#!/usr/bin/env bash
# The engine talks to the operating system only through the platform's interfaces: no SDL,
# POSIX or C file calls, and no platform implementation (sdl/, headless/, installer/), in the
# engine's folders. Only the program entry, shell/main.cpp, picks and builds a platform. (That
# no layer includes a higher one is the build's own check: see src/CMakeLists.txt.) That check
# holds only for includes named from src/: "surfaces/surface.h" in platform/x.cpp would be
# found beside the including file, past the include roots, so every include names its folder.
src=${1:?usage: engine-layering.sh SRC_DIR}
engine=()
for dir in "$src"/*/; do
  case $(basename "$dir") in
    platform | installer | asm) ;;  # the platform itself, the installer program, a build tool
    *) engine+=("${dir%/}") ;;
  esac
done
hits=$(grep -rnE '#include *[<"](SDL|unistd\.h|fcntl\.h|sys/|dirent\.h|iconv\.h|platform/(sdl|headless|installer)/)|\b(fopen|fwrite|fread|chdir|opendir|getenv|system)\(' \
  "${engine[@]}" | grep -v "^$src/shell/main.cpp:")
if [ -n "$hits" ]; then
  echo "platform calls outside src/platform:"
  echo "$hits"
  exit 1
fi
layers=$(cd "$src" && ls -d */ | tr -d / | paste -sd'|')
unrooted=$(grep -rnE '#include *"' "$src" --include='*.h' --include='*.cpp' --include='*.inc' |
  grep -vE "#include *\"($layers)/" ; grep -rnE '#include *"[^"]*(^|/)\.\.?/' "$src")
if [ -n "$unrooted" ]; then
  echo "includes not named from src/ (they would pass the build's layer check):"
  echo "$unrooted"
  exit 1
fi
echo "engine layering: ok (${engine[*]##*/})"
