// The row operation sets of each depth, defined beside their arithmetic (row_ops_*.cpp).
// Callers outside the row operations use pixelRowOpsFor() instead.
#pragma once

#include "graphics/pixel_row_ops.h"

namespace kelvox::graphics {

extern const PixelRowOps kRowOps8;
extern const PixelRowOps kRowOps15;
extern const PixelRowOps kRowOps16;
extern const PixelRowOps kRowOps24;
extern const PixelRowOps kRowOps32;

}  // namespace kelvox::graphics
