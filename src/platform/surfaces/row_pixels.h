// The portable loops of the row kernels (row_kernels.h) that the vector kernels finish a row
// with: one pixel of each display format as XRGB8888, the widening written out with the
// fields' bits moved straight to their places, and the keyed copy a pixel at a time. The
// vector kernels (screen_row_kernels.inc, keyed_row_kernels.inc) do the same on many pixels
// and call these loops for a row's last few pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kelvox::platform::row_pixels {

// 3:3:2 byte RRRGGGBB: a 3-bit field abc widens to abcabcab, the 2-bit blue ab to abababab.
inline uint32_t fromDepth8(uint32_t v) {
  return ((v & 0xE0) << 16) | ((v & 0xE0) << 13) | ((v & 0xC0) << 10)  // red
         | ((v & 0x1C) << 11) | ((v & 0x1C) << 8) | ((v & 0x18) << 5)  // green
         | ((v & 0x03) * 0x55);                                          // blue
}

// 5:5:5 word 0RRRRRGGGGGBBBBB: each 5-bit field abcde widens to abcdeabc.
inline uint32_t fromDepth15(uint32_t v) {
  return ((v & 0x7C00) << 9) | ((v & 0x7000) << 4)    // red
         | ((v & 0x03E0) << 6) | ((v & 0x0380) << 1)  // green
         | ((v & 0x001F) << 3) | ((v & 0x001C) >> 2);  // blue
}

// 5:6:5 word RRRRRGGGGGGBBBBB: 5-bit fields as above, the 6-bit green abcdef to abcdefab.
inline uint32_t fromDepth16(uint32_t v) {
  return ((v & 0xF800) << 8) | ((v & 0xE000) << 3)    // red
         | ((v & 0x07E0) << 5) | ((v & 0x0600) >> 1)  // green
         | ((v & 0x001F) << 3) | ((v & 0x001C) >> 2);  // blue
}

// The raw value of the [kBytes]-byte little-endian pixel at [s] (the bytes above it zero).
template <int kBytes>
inline uint32_t rawAt(const uint8_t* s) {
  uint32_t v = 0;
  std::memcpy(&v, s, kBytes);
  return v;
}

template <int kDepth>
inline uint32_t fromDepth(const uint8_t* s) {
  if constexpr (kDepth == 8) return fromDepth8(*s);
  if constexpr (kDepth == 15) return fromDepth15(rawAt<2>(s));
  if constexpr (kDepth == 16) return fromDepth16(rawAt<2>(s));
  if constexpr (kDepth == 24) return rawAt<3>(s);             // bytes blue, green, red
  if constexpr (kDepth == 32) return rawAt<4>(s) & 0xFFFFFF;  // the top byte is not colour
}

// Bytes per pixel of display depth [kDepth].
template <int kDepth>
inline constexpr size_t kPixelBytes = kDepth == 15 ? 2 : static_cast<size_t>(kDepth / 8);

// [count] pixels to the screen one at a time.
template <int kDepth>
inline void screenRow(uint32_t* d, const uint8_t* s, size_t count) {
  for (size_t i = 0; i < count; ++i, s += kPixelBytes<kDepth>) d[i] = fromDepth<kDepth>(s);
}

// The pixels of [count] [kBytes]-byte pixels that are not [key], copied one at a time.
template <int kBytes>
inline void keyedRow(uint8_t* d, const uint8_t* s, int count, uint32_t key) {
  for (int i = 0; i < count; ++i, d += kBytes, s += kBytes)
    if (rawAt<kBytes>(s) != key) std::memcpy(d, s, kBytes);
}

}  // namespace kelvox::platform::row_pixels
