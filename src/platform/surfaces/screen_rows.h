// Rows of a surface converted to the screen's XRGB8888 (0x00RRGGBB words) for presentation,
// each channel widened to 8 bits by repeating its top bits (5 bits abcde become abcdeabc), so 0
// stays 0 and full intensity stays 255: toXrgb8888 (surface.h) for a whole row at once.
//
// The five display formats have kernels of their own: 32 bits is a copy with the top byte
// cleared, 24 bits spreads three bytes into four, 16, 15 and 8 bits widen their fields. The
// vector paths (simd_paths.h) do a register of pixels per step and the last few pixels one at
// a time, so any width converts, the last pixel included.
#pragma once

#include <cstdint>

#include "platform/surfaces/simd_paths.h"
#include "platform/surfaces/surface.h"

namespace kelvox::platform {

// Converts [count] pixels from [source], the surface's bytes, into [destination]. Nothing is
// written for a [count] of 0 or less. Rows need no alignment and must not overlap.
using ScreenRowKernel = void (*)(uint32_t* destination, const uint8_t* source, int count);

// The kernel for surfaces of [format] on the fastest path this processor runs, or null for a
// format that is none of the five display formats (convert those with toXrgb8888).
ScreenRowKernel screenRowKernelFor(const PixelFormat& format);

// The same on instruction set [path], for tests; null also when [path] cannot run here. A
// format without code of its own for [path] gets the portable kernel.
ScreenRowKernel screenRowKernelFor(const PixelFormat& format, SimdPath path);

// The vector kernels of display [depth] (8, 15, 16, 24, 32) on SSE2 and AVX2 registers
// (screen_rows.cpp, screen_rows_avx2.cpp); null for other depths and where they are not built.
// Call the AVX2 ones only where the processor has AVX2.
ScreenRowKernel sse2ScreenRowKernel(int depth);
ScreenRowKernel avx2ScreenRowKernel(int depth);

}  // namespace kelvox::platform
