// kvasm: assembles a script source into a game folder's Script\Code.ssb and Script\Data.ssb.
// Errors go to stderr as "file:line:column: error: message"; the exit status is 1 if any.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "asm/assembler.h"
#include "asm/game_folder.h"

namespace {

constexpr const char* kUsage =
    "usage: kvasm SOURCE.kvs -o GAME_DIR\n"
    "\n"
    "Assembles SOURCE.kvs and writes GAME_DIR/Script/Code.ssb (code words, 32-bit\n"
    "little-endian) and GAME_DIR/Script/Data.ssb (data memory, scrambled), creating\n"
    "the folders as needed. Nothing is written when the source has errors.\n"
    "\n"
    "options:\n"
    "  -o GAME_DIR   the game folder to write (required)\n"
    "  -h, --help    show this text\n";

int usageError(const char* message) {
  std::fprintf(stderr, "kvasm: %s\n%s", message, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string source, output;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "-o") {
      if (i + 1 >= argc) return usageError("'-o' needs a folder");
      output = argv[++i];
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return usageError(("unknown option '" + std::string(arg) + "'").c_str());
    } else if (source.empty()) {
      source = arg;
    } else {
      return usageError("only one source file can be given");
    }
  }
  if (source.empty()) return usageError("no source file given");
  if (output.empty()) return usageError("no game folder given (-o GAME_DIR)");

  std::optional<std::string> text = kelvox::assembler::readSourceFile(source);
  if (!text) {
    std::fprintf(stderr, "kvasm: cannot read '%s'\n", source.c_str());
    return 1;
  }
  kelvox::assembler::Result result = kelvox::assembler::assemble(*text, source);
  for (const auto& error : result.errors) std::fprintf(stderr, "%s\n", error.toString().c_str());
  if (!result.script) {
    std::fprintf(stderr, "kvasm: %zu error(s); nothing written\n", result.errors.size());
    return 1;
  }
  std::string error;
  if (!kelvox::assembler::writeGameFolder(*result.script, output, error)) {
    std::fprintf(stderr, "kvasm: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
