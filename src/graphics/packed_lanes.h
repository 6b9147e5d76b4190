// Lane arithmetic for the row operations: several pixels' channel fields side by side in one
// 64-bit word, each field moved down to the bottom of its lane and given free bits above it, so
// that sums and products never spill into the next lane. Internal to the row operations.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kelvox::graphics::lanes {

static_assert(std::endian::native == std::endian::little, "display pixels are little-endian words");

inline uint64_t load(const uint8_t* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
inline void store(uint8_t* p, uint64_t w) { std::memcpy(p, &w, sizeof w); }

// [fields]: the channel maximum M at the bottom of every lane (e.g. 0x001F001F001F001F);
// [width]: the field's width in bits (M = 2^width - 1). Every lane needs one free bit above
// the field for the sum.

// d + s per lane, saturating at M: the bit above a field that overflowed becomes an all-ones
// field, which the OR then clamps to M.
inline uint64_t addSaturate(uint64_t d, uint64_t s, uint64_t fields, int width) {
  uint64_t sum = d + s;
  uint64_t carry = sum & (fields << 1) & ~fields;
  uint64_t fill = carry - (carry >> width);
  return (sum | fill) & fields;
}

// d + s - M per lane where d + s > M, else 0. A lane past M holds 2^width + (d + s - M - 1),
// so its low bits plus one are the result; a lane at or below M is cleared by the fill mask.
inline uint64_t subtractSaturate(uint64_t d, uint64_t s, uint64_t fields, int width) {
  uint64_t sum = d + s;
  uint64_t carry = sum & (fields << 1) & ~fields;
  uint64_t fill = carry - (carry >> width);
  uint64_t ones = fields & ~(fields << 1);
  return ((sum & fields) + ones) & fill;
}

// d + floor((s - d) * weight / 256) per lane, computed as (d * (256 - weight) + s * weight) >> 8,
// which is the same value without negative intermediates. Lanes are 16 bits wide and M at
// most 255, so 255 * 256 fits each lane. [weight] is 1..255.
inline uint64_t blend(uint64_t d, uint64_t s, uint64_t fields, uint32_t weight) {
  return ((d * (256 - weight) + s * weight) >> 8) & fields;
}

// All ones in every 16-bit lane of [w] that is not zero.
inline uint64_t nonZero16(uint64_t w) {
  constexpr uint64_t kLow = 0x7FFF7FFF7FFF7FFFull;
  uint64_t top = (((w & kLow) + kLow) | w) & ~kLow;
  return (top >> 15) * 0xFFFF;
}

// All ones in every 32-bit lane of [w] whose low 24 bits are not zero.
inline uint64_t nonZero24of32(uint64_t w) {
  constexpr uint64_t kColour = 0x00FFFFFF00FFFFFFull;
  uint64_t top = ((w & kColour) + kColour) & 0x0100000001000000ull;
  return (top >> 24) * 0xFFFFFFFFull;
}

// Applies [op](destination word, source word) to [bytes] bytes, eight at a time; the last
// partial word is padded with zeros on both sides and only its real bytes are written back.
template <typename Op>
inline void forEachWord(uint8_t* d, const uint8_t* s, size_t bytes, Op op) {
  size_t i = 0;
  for (; i + 8 <= bytes; i += 8) store(d + i, op(load(d + i), load(s + i)));
  if (i < bytes) {
    uint64_t dw = 0, sw = 0;
    std::memcpy(&dw, d + i, bytes - i);
    std::memcpy(&sw, s + i, bytes - i);
    dw = op(dw, sw);
    std::memcpy(d + i, &dw, bytes - i);
  }
}

}  // namespace kelvox::graphics::lanes
