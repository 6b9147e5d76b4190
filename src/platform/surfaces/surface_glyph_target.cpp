// Packing text colours into a surface's format and writing glyph runs into a locked area.
#include "platform/surfaces/surface_glyph_target.h"

#include <bit>
#include <cstddef>

namespace kelvox::platform {
namespace {

// The 8-bit channel [value] narrowed to [mask]'s bits and placed at its position.
uint32_t pack(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  uint32_t narrowed = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
  return (narrowed << shift) & mask;
}

}  // namespace

uint32_t fromXrgb8888(uint32_t colour, const PixelFormat& format) {
  return pack((colour >> 16) & 0xFF, format.redMask) | pack((colour >> 8) & 0xFF, format.greenMask) |
         pack(colour & 0xFF, format.blueMask);
}

void SurfaceGlyphTarget::putRun(int x, int y, int count, uint32_t colour) {
  const int bytes = area_.format.bitsPerPixel / 8;
  const uint32_t raw = fromXrgb8888(colour, area_.format);
  uint8_t* p = area_.pixels + static_cast<ptrdiff_t>(y) * area_.pitch + static_cast<ptrdiff_t>(x) * bytes;
  for (int i = 0; i < count; ++i)
    for (int b = 0; b < bytes; ++b) *p++ = static_cast<uint8_t>(raw >> (8 * b));
}

}  // namespace kelvox::platform
