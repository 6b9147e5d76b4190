// The row operation sets of each depth, defined beside their arithmetic (row_ops_*.cpp).
// Callers outside the row operations use pixelRowOpsFor() instead.
#pragma once

#include "graphics/pixel_row_ops.h"

namespace kelvox::graphics {

// The portable sets: plain C++ over packed lanes, for every depth.
extern const PixelRowOps kRowOps8;
extern const PixelRowOps kRowOps15;
extern const PixelRowOps kRowOps16;
extern const PixelRowOps kRowOps24;
extern const PixelRowOps kRowOps32;

// The vector sets of depths 15, 16 and 32 (row_ops_sse2.cpp, row_ops_avx2.cpp); null for other
// depths and on machines they are not built for. Only call the AVX2 ones where the processor
// has AVX2.
const PixelRowOps* sse2RowOps(int depth);
const PixelRowOps* avx2RowOps(int depth);

}  // namespace kelvox::graphics
