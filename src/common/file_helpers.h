// The shared file helpers: the one-byte XOR scrambling of data and save files, and reading and
// writing whole files by the engine's backslash paths relative to the game folder, with the
// file-layer error that names the file when that fails.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kelvox::platform {
class Paths;
}

namespace kelvox::common {

// The file mask of Script\Data.ssb, Save\Sys and saved games.
inline constexpr uint8_t kFileMask = 0x5C;

// XORs every byte of [bytes] with kFileMask; applying it twice restores the data.
inline void scrambleBuffer(std::span<uint8_t> bytes) {
  for (auto& b : bytes) b ^= kFileMask;
}

// The bytes of the regular file [sjisName] (e.g. "Script\Code.ssb") of at most [maxBytes]; a
// missing, unreadable, non-regular or larger file raises a file error naming it, in the
// engine's words (file_messages.h).
std::vector<uint8_t> readAppFile(const platform::Paths& paths, std::string_view sjisName, uint64_t maxBytes);

// Replaces the file [sjisName] with [bytes] through a temporary file and a rename, so the old
// file survives any failure; a failure raises a file error naming it. The folder must exist.
void writeAppFile(const platform::Paths& paths, std::string_view sjisName, std::span<const uint8_t> bytes);

}  // namespace kelvox::common
