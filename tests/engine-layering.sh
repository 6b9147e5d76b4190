#!/usr/bin/env bash
# The engine talks to the operating system only through src/platform: no SDL, POSIX or C file
# calls in the engine's folders (the program entry, shell/main.cpp, wires the platform up).
src=${1:?usage: engine-layering.sh SRC_DIR}
hits=$(grep -rnE '#include *[<"](SDL|unistd\.h|fcntl\.h|sys/|dirent\.h|iconv\.h)|\b(fopen|fwrite|fread|chdir|opendir|getenv|system)\(' \
  "$src/shell" "$src/vm" | grep -v "^$src/shell/main.cpp:")
if [ -n "$hits" ]; then
  echo "platform calls outside src/platform:"
  echo "$hits"
  exit 1
fi
echo "engine layering: ok"
