// Surface rows converted to the screen's XRGB8888 on every vector path and at every display
// depth, held to a model that widens each channel bit by bit: odd widths, rows long enough to
// hold every value of the 8- and 16-bit formats, nothing written past the row and nothing read
// past it (the sources are sized exactly, so the sanitizer catches a read beyond).
#include "platform/surfaces/row_kernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/xrgb_model.h"

namespace kelvox::platform {
namespace {

TEST(ScreenRows, EveryPathAndDepthWidensLikeTheModel) {
  const int widths[] = {0, 1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 33, 65, 641, 65536};
  for (SimdPath path : {SimdPath::Portable, SimdPath::Sse2, SimdPath::Avx2}) {
    if (!simdPathAvailable(path)) continue;
    for (int depth : {8, 15, 16, 24, 32}) {
      const PixelFormat f = pixelFormatForDepth(depth);
      const ScreenRowKernel kernel = screenRowKernelFor(f, path);
      ASSERT_NE(kernel, nullptr) << simdPathName(path) << " " << depth;
      const auto bytes = static_cast<size_t>(f.bitsPerPixel / 8);
      for (int width : widths) {
        // Pixel i is i times an odd number: a row of 65536 holds every 16-bit value once.
        std::vector<uint8_t> source(static_cast<size_t>(width) * bytes);
        for (size_t i = 0; i < static_cast<size_t>(width); ++i) {
          const uint32_t v = static_cast<uint32_t>(i) * 0x9E3779B1u + 0x01000000u * static_cast<uint32_t>(i & 1);
          std::memcpy(&source[i * bytes], &v, bytes);
        }
        std::vector<uint32_t> out(static_cast<size_t>(width) + 2, 0xDEADBEEF);  // a guard word each side
        kernel(out.data() + 1, source.data(), width);
        ASSERT_EQ(out.front(), 0xDEADBEEFu);
        ASSERT_EQ(out.back(), 0xDEADBEEFu) << simdPathName(path) << " depth " << depth << " width " << width;
        for (size_t i = 0; i < static_cast<size_t>(width); ++i) {
          uint32_t raw = 0;
          std::memcpy(&raw, &source[i * bytes], bytes);
          ASSERT_EQ(out[i + 1], test::modelXrgb(raw, f))
              << simdPathName(path) << " depth " << depth << " width " << width << " pixel " << i;
        }
      }
    }
  }
  const PixelFormat bgr565{16, 0x001F, 0x07E0, 0xF800};
  EXPECT_EQ(screenRowKernelFor(bgr565), nullptr);  // not a display format: converted pixel by pixel
}

}  // namespace
}  // namespace kelvox::platform
