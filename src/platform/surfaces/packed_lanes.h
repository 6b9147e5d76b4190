// Lane arithmetic for the portable drawing kernels (draw_rows_*.cpp): several pixels' channel
// fields side by side in one word, each field moved down to the bottom of its lane and given free
// bits above it, so that sums and products never spill into the next lane. A word is a 64-bit
// integer or a Wide vector of two of them (one SSE2 register on x86-64, which every x86-64 has;
// other machines get their own vector code or plain pairs of words from the compiler). Internal to
// those kernels.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kelvox::platform::lanes {

static_assert(std::endian::native == std::endian::little, "display pixels are little-endian words");

using Wide = uint64_t __attribute__((vector_size(16)));
using Wide16 = uint16_t __attribute__((vector_size(16)));  // the same bits as 16-bit lanes
using Wide32 = uint32_t __attribute__((vector_size(16)));

template <typename W>
inline W load(const uint8_t* p) {
  W w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
template <typename W>
inline void store(uint8_t* p, W w) {
  std::memcpy(p, &w, sizeof w);
}

// [fields]: the channel maximum M at the bottom of every lane (e.g. 0x001F001F001F001F);
// [width]: the field's width in bits (M = 2^width - 1). Every lane needs one free bit above
// the field for the sum.

// d + s per lane, saturating at M: the bit above a field that overflowed becomes an all-ones
// field, which the OR then clamps to M.
template <typename W>
inline W addSaturate(W d, W s, uint64_t fields, int width) {
  W sum = d + s;
  W carry = sum & ((fields << 1) & ~fields);
  W fill = carry - (carry >> width);
  return (sum | fill) & fields;
}

// d + s - M per lane where d + s > M, else 0. A lane past M holds 2^width + (d + s - M - 1),
// so its low bits plus one are the result; a lane at or below M is cleared by the fill mask.
template <typename W>
inline W subtractSaturate(W d, W s, uint64_t fields, int width) {
  W sum = d + s;
  W carry = sum & ((fields << 1) & ~fields);
  W fill = carry - (carry >> width);
  return ((sum & fields) + (fields & ~(fields << 1))) & fill;
}

struct Add {
  template <typename W>
  static W apply(W d, W s, uint64_t fields, int width) { return addSaturate(d, s, fields, width); }
};
struct Subtract {
  template <typename W>
  static W apply(W d, W s, uint64_t fields, int width) { return subtractSaturate(d, s, fields, width); }
};

// d + floor((s - d) * weight / 256) per lane, computed as (d * (256 - weight) + s * weight) >> 8,
// which is the same value without negative intermediates. Lanes are 16 bits wide and M at
// most 255, so 255 * 256 fits each lane. [weight] is 1..255.
inline uint64_t blend(uint64_t d, uint64_t s, uint64_t fields, uint32_t weight) {
  return ((d * (256 - weight) + s * weight) >> 8) & fields;
}
inline Wide blend(Wide d, Wide s, uint64_t fields, uint32_t weight) {
  // In 16-bit lanes the products stay exact and the shift moves nothing between lanes.
  Wide16 mixed = (std::bit_cast<Wide16>(d) * uint16_t(256 - weight) + std::bit_cast<Wide16>(s) * uint16_t(weight)) >> 8;
  return std::bit_cast<Wide>(mixed) & fields;
}

inline bool allZero(uint64_t w) { return w == 0; }
inline bool allZero(Wide w) { return (w[0] | w[1]) == 0; }

// All ones in every 16-bit lane of [w] that is not zero.
inline uint64_t nonZero16(uint64_t w) {
  constexpr uint64_t kLow = 0x7FFF7FFF7FFF7FFFull;
  uint64_t top = (((w & kLow) + kLow) | w) & ~kLow;
  return (top >> 15) * 0xFFFF;
}
inline Wide nonZero16(Wide w) {
  return std::bit_cast<Wide>(std::bit_cast<Wide16>(w) != 0);  // a true lane is all ones
}

// All ones in every 32-bit lane of [w] whose low 24 bits are not zero.
inline uint64_t nonZero24of32(uint64_t w) {
  constexpr uint64_t kColour = 0x00FFFFFF00FFFFFFull;
  uint64_t top = ((w & kColour) + kColour) & 0x0100000001000000ull;
  return (top >> 24) * 0xFFFFFFFFull;
}
inline Wide nonZero24of32(Wide w) {
  return std::bit_cast<Wide>((std::bit_cast<Wide32>(w) & 0x00FFFFFFu) != 0);
}

// Applies [op](destination word, source word) to [bytes] bytes: sixteen at a time as Wide
// words, then eight, then the last partial word padded with zeros on both sides, of which only
// the real bytes are written back. [op] takes either word type.
template <typename Op>
inline void forEachWord(uint8_t* d, const uint8_t* s, size_t bytes, Op op) {
  size_t i = 0;
  for (; i + 16 <= bytes; i += 16) store(d + i, op(load<Wide>(d + i), load<Wide>(s + i)));
  for (; i + 8 <= bytes; i += 8) store(d + i, op(load<uint64_t>(d + i), load<uint64_t>(s + i)));
  if (i < bytes) {
    uint64_t dw = 0, sw = 0;
    std::memcpy(&dw, d + i, bytes - i);
    std::memcpy(&sw, s + i, bytes - i);
    dw = op(dw, sw);
    std::memcpy(d + i, &dw, bytes - i);
  }
}

// Converts [count] source pixels (32-bit words) one at a time: [pixel] gives each display
// pixel as an integer whose low [kBytes] bytes are written.
template <size_t kBytes, typename Pixel>
inline void convertEachPixel(void* destination, const void* source, int count, Pixel pixel) {
  auto* d = static_cast<uint8_t*>(destination);
  auto* s = static_cast<const uint8_t*>(source);
  for (int i = 0; i < count; ++i) {
    uint32_t p;
    std::memcpy(&p, s + 4 * size_t(i), 4);
    const auto v = pixel(p);
    std::memcpy(d + kBytes * size_t(i), &v, kBytes);
  }
}

}  // namespace kelvox::platform::lanes
