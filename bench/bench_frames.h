// Frames the pixel benchmarks share: 640 × 480 SDL surfaces of random colours at depth 16
// (RGB565) or 32 (XRGB8888), optionally with key pixels (0) in 16 × 16 blocks or scattered,
// and pixman images over the very same memory, so every peer works on identical bytes.
#pragma once

#include <SDL.h>
#include <pixman.h>

#include <cstdint>
#include <cstring>
#include <random>

namespace kelvox::bench {

constexpr int kWidth = 640, kHeight = 480;

enum class KeyMask {
  None,       // no key pixel: every pixel is drawn
  Blocks,     // a checkerboard of 16 × 16 opaque and key blocks
  Scattered,  // each pixel the key with probability 1/2
};

inline bool isKeyed(KeyMask mask, int x, int y, std::mt19937& rng) {
  switch (mask) {
    case KeyMask::None: return false;
    case KeyMask::Blocks: return ((x / 16) + (y / 16)) % 2 == 1;
    case KeyMask::Scattered: return (rng() & 1) != 0;
  }
  return false;
}

// A 640 × 480 surface of random non-zero colours (top byte 0 at depth 32), with key pixels
// where [mask] says; [seed] makes different frames different.
inline SDL_Surface* makeFrame(int depth, KeyMask mask, unsigned seed) {
  const Uint32 format = depth == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;  // RGB888 is XRGB8888
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, depth, format);
  std::mt19937 rng(seed);
  const int bytes = depth / 8;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      uint32_t v = (rng() & (depth == 16 ? 0xFFFFu : 0xFFFFFFu)) | 1;
      if (isKeyed(mask, x, y, rng)) v = 0;
      std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * bytes, &v, static_cast<size_t>(bytes));
    }
  return s;
}

// A pixman image over [s]'s pixels (not copied; free the image before the surface).
inline pixman_image_t* pixmanOver(SDL_Surface* s) {
  return pixman_image_create_bits(s->format->BitsPerPixel == 16 ? PIXMAN_r5g6b5 : PIXMAN_x8r8g8b8, s->w, s->h,
                                  static_cast<uint32_t*>(s->pixels), s->pitch);
}

}  // namespace kelvox::bench
