// The screen's picture of a raw pixel, worked out bit by bit for tests: each channel widened
// to 8 bits by repeating its bits from the top, independently of the code under test.
#pragma once

#include <cstdint>

#include "platform/surfaces/surface.h"

namespace kelvox::test {

// Channel [mask] of [raw] as 8 bits: output bit i, counted from the top, is the field's bit
// (i mod n) counted from its top, for a field of n bits.
inline uint32_t widenedChannel(uint32_t raw, uint32_t mask) {
  int low = 0, bits = 0;
  while (((mask >> low) & 1) == 0) ++low;
  while (low + bits < 32 && ((mask >> (low + bits)) & 1) != 0) ++bits;
  const uint32_t field = (raw & mask) >> low;
  uint32_t out = 0;
  for (int i = 0; i < 8; ++i) out = (out << 1) | ((field >> (bits - 1 - i % bits)) & 1);
  return out;
}

// [raw] of [format] as 0x00RRGGBB.
inline uint32_t modelXrgb(uint32_t raw, const platform::PixelFormat& format) {
  return widenedChannel(raw, format.redMask) << 16 | widenedChannel(raw, format.greenMask) << 8 |
         widenedChannel(raw, format.blueMask);
}

}  // namespace kelvox::test
