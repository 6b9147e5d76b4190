// kvdis: prints the listing of a game folder's script (Script\Code.ssb and Script\Data.ssb)
// in the form kvasm reads back.
#include <cstdio>
#include <string>
#include <string_view>

#include "asm/disassembler.h"
#include "asm/game_folder.h"

namespace {

constexpr const char* kUsage =
    "usage: kvdis GAME_DIR\n"
    "\n"
    "Lists GAME_DIR/Script/Code.ssb word by word (literals in decimal, operations by\n"
    "mnemonic) and GAME_DIR/Script/Data.ssb unscrambled (text as .string in UTF-8, the\n"
    "rest as .word and .space). Every line starts with its code or data word index.\n"
    "The listing assembles again with kvasm.\n"
    "\n"
    "options:\n"
    "  -h, --help    show this text\n";

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if ((!arg.empty() && arg[0] == '-') || !folder.empty()) {
      std::fprintf(stderr, "kvdis: unexpected argument '%s'\n%s", argv[i], kUsage);
      return 2;
    }
    folder = arg;
  }
  if (folder.empty()) {
    std::fprintf(stderr, "kvdis: no game folder given\n%s", kUsage);
    return 2;
  }
  kelvox::assembler::ScriptImage image;
  std::string error;
  if (!kelvox::assembler::readGameFolder(folder, image, error)) {
    std::fprintf(stderr, "kvdis: %s\n", error.c_str());
    return 1;
  }
  if (image.codeFileBytes % 4 != 0)
    std::fprintf(stderr, "kvdis: warning: Code.ssb has %zu bytes, not whole words; the last word is completed with zeros\n",
                 image.codeFileBytes);
  std::fputs(kelvox::assembler::disassemble(image.code, image.data).c_str(), stdout);
  return 0;
}
