// The row kernels: every loop that runs along a row of pixels, for the surfaces' keyed blits,
// their presentation in XRGB8888 and the graphics' drawing of sprites, in one family. Each
// kernel is written once for portable C++ and once over a lane type that stands for SSE2 or
// AVX2 registers (simd_paths.h); the instruction set is chosen once, at the first call, and
// one table per instruction set names its kernels. Tests ask for each set by name and hold
// them to the same results.
//
// Display pixels are laid out by depth (surface.h):
//
//   depth  bytes  layout
//   8      1      RRRGGGBB (3:3:2; no palette is ever installed)
//   15     2      0RRRRRGGGGGBBBBB, little-endian word
//   16     2      RRRRRGGGGGGBBBBB, little-endian word
//   24     3      blue, green, red
//   32     4      0x00RRGGBB, the top byte written as 0
//
// Every kernel works on one row, in place on [destination], which always comes first. A
// [count] of 0 or less writes nothing. Rows need no alignment and must not overlap. No kernel
// allocates or keeps state.
#pragma once

#include <cstdint>

#include "platform/surfaces/simd_paths.h"

namespace kelvox::platform {

struct PixelFormat;

// Converts [count] display pixels at [source] into XRGB8888 words (0x00RRGGBB) at
// [destination], each channel widened to 8 bits by repeating its top bits (5 bits abcde
// become abcdeabc), so 0 stays 0 and full intensity stays 255.
using ScreenRowKernel = void (*)(uint32_t* destination, const uint8_t* source, int count);

// Copies those of [count] pixels at [source] whose raw value differs from [key] to
// [destination]; the others leave the destination pixel as it was.
using KeyedRowKernel = void (*)(uint8_t* destination, const uint8_t* source, int count, uint32_t key);

// The four drawing operations of one display depth, over source pixels that are 32-bit words
// 0x00RRGGBB (bytes blue, green, red, ignored): only their low 24 bits count, and a source
// pixel whose low 24 bits are zero is the transparent key. The graphics' PixelRowOps.
struct DrawRowKernels {
  int depth;  // 8, 15, 16, 24 or 32

  // Converts [count] source pixels into display pixels. At depths 8, 15 and 16 a colour that is
  // not the key but would become 0 gets one low bit set (the key nudge: red 0x20, blue 0x0001,
  // green 0x0020), so a dark colour never turns transparent; the key itself stays 0.
  void (*ConvertRow)(void* destination, const void* source, int count);

  // Per channel with channel maximum M: d + s - M where d + s > M, else 0. The destination is
  // darkened by the source's complement: white leaves it as it was, black (the key too) makes
  // it black.
  void (*SubtractRow)(void* destination, const void* source, int count);

  // Per channel: d + s, saturating at M. A black source leaves the destination as it was.
  void (*AddRow)(void* destination, const void* source, int count);

  // Per channel: d + floor((s - d) * weight / 256), the floor towards minus infinity; where the
  // source pixel is the key (all colour bits zero) the destination stays as it was. [weight]
  // is 1..255; the compositor draws other weights otherwise. Depth 8 copies the source bytes
  // unchanged instead (no blending, no key test), as the game always did there.
  void (*BlendRow)(void* destination, const void* source, int count, int weight);
};

// The display depths in table order.
inline constexpr int kDisplayDepths[5] = {8, 15, 16, 24, 32};
// The index of display [depth] in the tables below; -1 for another value.
constexpr int displayDepthIndex(int depth) {
  for (int i = 0; i < 5; ++i)
    if (kDisplayDepths[i] == depth) return i;
  return -1;
}

// The kernels of one instruction set. Every entry is set: where a set has no code of its own
// (the 1- and 3-byte keyed copies, the drawing at depths 8 and 24) it holds the portable one.
struct RowKernels {
  SimdPath path;
  ScreenRowKernel toScreen[5];  // by displayDepthIndex
  KeyedRowKernel copyKeyed[4];  // by bytes per pixel - 1
  DrawRowKernels draw[5];       // by displayDepthIndex
};

// The kernels of [path]; null when [path] cannot run here.
const RowKernels* rowKernels(SimdPath path);
// The kernels of the fastest path this processor runs, chosen at the first call.
const RowKernels& rowKernels();

// The screen kernel for surfaces of [format] (on [path], or the fastest), or null for a format
// that is none of the five display formats (convert those with toXrgb8888, surface.h) or a
// path that cannot run here.
ScreenRowKernel screenRowKernelFor(const PixelFormat& format);
ScreenRowKernel screenRowKernelFor(const PixelFormat& format, SimdPath path);

// The keyed copy of [bytesPerPixel]-byte pixels (1 to 4) with [key] on the fastest path: a
// plain copy when [key] is wider than a pixel, so that no pixel is the key.
KeyedRowKernel keyedRowKernelFor(int bytesPerPixel, uint32_t key);

// One keyed row as above, on the fastest path or on [path] (which must be able to run here).
void copyKeyedRow(uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel, uint32_t key);
void copyKeyedRow(SimdPath path, uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel,
                  uint32_t key);

}  // namespace kelvox::platform
