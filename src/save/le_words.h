// 32-bit little-endian words in the save files' byte buffers.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvox::save {

inline void putWord(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The word at [at]; the caller has checked that four bytes are there.
inline uint32_t wordAt(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

}  // namespace kelvox::save
