// The four row operations of one display pixel format, and how the display picks them. The
// operations are the platform's drawing kernels (platform/surfaces/row_kernels.h, where their
// arithmetic is set down): one family of row kernels serves the surfaces' blits, their
// presentation and the sprites drawn here.
//
// A source pixel is a 32-bit word 0x00RRGGBB (bytes blue, green, red, ignored); only its low 24
// bits count, and a source pixel whose low 24 bits are zero is the transparent key. Display
// pixels are laid out by depth (8: RRRGGGBB; 15 and 16: 5:5:5 and 5:6:5 words; 24: blue,
// green, red; 32: 0x00RRGGBB). Every operation works on one row, in place on [destination],
// which always comes first; a [count] of 0 or less writes nothing. No operation allocates or
// keeps state, so one set serves any number of surfaces.
#pragma once

#include <cstdint>

#include "platform/surfaces/row_kernels.h"
#include "platform/surfaces/simd_paths.h"

namespace kelvox::graphics {

// ConvertRow, SubtractRow, AddRow and BlendRow of one depth (row_kernels.h says what each
// does, the key nudge and the blend's floor included).
using PixelRowOps = platform::DrawRowKernels;

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
