// A game folder's two script files, written by kvasm and read by kvdis:
// GAME_DIR/Script/Code.ssb and GAME_DIR/Script/Data.ssb.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "asm/assembler.h"

namespace kelvox::assembler {

// Creates [dir]/Script if needed and writes both files, each to a temporary file in that
// folder renamed over the old one, so a failed write leaves the old script whole. Returns
// false with a message in [error] on failure.
bool writeGameFolder(const Script& script, const std::filesystem::path& dir, std::string& error);

// Code words and unscrambled data memory as read back from a game folder.
struct ScriptImage {
  std::vector<uint32_t> code;
  std::vector<uint8_t> data;
  size_t codeFileBytes = 0;  // Code.ssb's size; not a multiple of 4 means a damaged file
};

// Reads [dir]/Script/Code.ssb and Data.ssb. A code file whose size is not a multiple of 4 gets
// its last word completed with zero bytes. Returns false with a message in [error] on failure.
bool readGameFolder(const std::filesystem::path& dir, ScriptImage& image, std::string& error);

}  // namespace kelvox::assembler
