// The four row operations of one display pixel format, and how the display picks them.
//
// A source pixel is a 32-bit word 0x00RRGGBB (bytes blue, green, red, ignored); only its low 24
// bits count, and a source pixel whose low 24 bits are zero is the transparent key. Display
// pixels are laid out by depth:
//
//   depth  bytes  layout
//   8      1      RRRGGGBB (3:3:2; no palette is ever installed)
//   15     2      0RRRRRGGGGGBBBBB, little-endian word
//   16     2      RRRRRGGGGGGBBBBB, little-endian word
//   24     3      blue, green, red
//   32     4      0x00RRGGBB, the top byte written as 0
//
// Every operation works on one row, in place on [destination], which always comes first.
// A [count] of 0 or less writes nothing. Rows need no alignment. No operation allocates or
// keeps state, so one set serves any number of surfaces.
#pragma once

#include <cstdint>

#include "platform/surfaces/simd_paths.h"

namespace kelvox::graphics {

struct PixelRowOps {
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

// The display depth for a surface of [bitsPerPixel] with the given channel masks (the masks
// matter only at 16 bits per pixel: 0x7C00/0x03E0/0x001F is depth 15, 0xF800/0x07E0/0x001F is
// depth 16). 0 for a format the engine cannot draw to; the display refuses it with fatal
// error 49.
int displayDepthFor(int bitsPerPixel, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

// The operations of [depth] (8, 15, 16, 24 or 32), or null for any other value: the fastest
// set the processor runs (platform::bestSimdPath), decided once.
const PixelRowOps* pixelRowOpsFor(int depth);

// The operations of [depth] on instruction set [path], for tests that hold every path to the
// same results; null for an unknown depth or a path this machine cannot run. A depth without
// code of its own for [path] gets the portable set.
const PixelRowOps* pixelRowOpsFor(int depth, platform::SimdPath path);

// Bytes per display pixel at [depth]; 0 for an unknown depth.
int bytesPerPixel(int depth);

}  // namespace kelvox::graphics
