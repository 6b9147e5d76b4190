// The shared file helpers: the one-byte XOR scrambling of data and save files, and reading
// and writing files by the engine's backslash paths relative to the game folder.
#pragma once

#include <cstdint>
#include <span>

namespace kelvox::shell {

// The file mask of Script\Data.ssb, Save\Sys and saved games.
inline constexpr uint8_t kFileMask = 0x5C;

// XORs every byte of [bytes] with kFileMask; applying it twice restores the data.
inline void scrambleBuffer(std::span<uint8_t> bytes) {
  for (auto& b : bytes) b ^= kFileMask;
}

}  // namespace kelvox::shell
