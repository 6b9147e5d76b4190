// The runtime library's pseudo-random generator, kept so that scripts see the same sequences
// as the original: state = state × 214013 + 2531011, result (state >> 16) & 0x7FFF.
#pragma once

#include <cstdint>

namespace kelvox::vm {

inline void seedRandom(uint32_t& state, uint32_t seed) { state = seed; }

inline int nextRandom(uint32_t& state) {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFF);
}

}  // namespace kelvox::vm
