// Picks the display depth from a surface's pixel format, and the row operations of a depth from
// the platform's row kernels.
#include "graphics/pixel_row_ops.h"

namespace kelvox::graphics {

int displayDepthFor(int bitsPerPixel, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
  switch (bitsPerPixel) {
    case 8: return 8;
    case 16:
      if (redMask == 0x7C00 && greenMask == 0x03E0 && blueMask == 0x001F) return 15;
      if (redMask == 0xF800 && greenMask == 0x07E0 && blueMask == 0x001F) return 16;
      return 0;  // some other 16-bit layout (e.g. 4:4:4:4): not drawable
    case 24: return 24;
    case 32: return 32;
    default: return 0;
  }
}

const PixelRowOps* pixelRowOpsFor(int depth) {
  const int index = platform::displayDepthIndex(depth);
  return index < 0 ? nullptr : &platform::rowKernels().draw[index];
}

const PixelRowOps* pixelRowOpsFor(int depth, platform::SimdPath path) {
  const platform::RowKernels* kernels = platform::rowKernels(path);
  const int index = platform::displayDepthIndex(depth);
  return kernels == nullptr || index < 0 ? nullptr : &kernels->draw[index];
}

int bytesPerPixel(int depth) {
  switch (depth) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

}  // namespace kelvox::graphics
