// Surface rows converted to the screen's XRGB8888 on every vector path and at every display
// depth, held to a model that widens each channel bit by bit: odd widths, every value of the
// 8- and 16-bit formats, nothing written past the row and nothing read past it (the sources
// are sized exactly, so the sanitizer catches a read beyond).
#include "platform/screen_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "support/xrgb_model.h"

namespace kelvox::platform {
namespace {

std::vector<SimdPath> availablePaths() {
  std::vector<SimdPath> paths;
  for (SimdPath p : {SimdPath::Portable, SimdPath::Sse2, SimdPath::Avx2})
    if (simdPathAvailable(p)) paths.push_back(p);
  return paths;
}

// Raw pixel values of a row at [depth]: every value of an 8- or 16-bit format, or [count]
// random ones (with a random top byte at depth 32, which is not colour).
std::vector<uint32_t> rowValues(int depth, int count, std::mt19937& rng) {
  std::vector<uint32_t> values;
  const int every = depth == 8 ? 256 : depth == 15 || depth == 16 ? 65536 : 0;
  if (count < 0) {
    for (int v = 0; v < every; ++v) values.push_back(static_cast<uint32_t>(v));
    return values;
  }
  const uint32_t mask = depth == 8 ? 0xFF : depth == 15 || depth == 16 ? 0xFFFF : depth == 24 ? 0xFFFFFF : 0xFFFFFFFF;
  for (int i = 0; i < count; ++i) values.push_back(static_cast<uint32_t>(rng()) & mask);
  return values;
}

TEST(ScreenRows, EveryPathAndDepthWidensLikeTheModel) {
  std::mt19937 rng(15);
  const int widths[] = {-1 /* every value */, 0, 1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 33, 63, 65, 641};
  for (SimdPath path : availablePaths()) {
    for (int depth : {8, 15, 16, 24, 32}) {
      const PixelFormat f = pixelFormatForDepth(depth);
      const ScreenRowKernel kernel = screenRowKernelFor(f, path);
      ASSERT_NE(kernel, nullptr) << simdPathName(path) << " " << depth;
      const size_t bytes = static_cast<size_t>(f.bitsPerPixel / 8);
      for (int width : widths) {
        if (width < 0 && depth >= 24) continue;
        const std::vector<uint32_t> values = rowValues(depth, width, rng);
        const int count = static_cast<int>(values.size());
        std::vector<uint8_t> source(values.size() * bytes);
        for (size_t i = 0; i < values.size(); ++i) std::memcpy(&source[i * bytes], &values[i], bytes);
        // One guard word on each side of the row.
        std::vector<uint32_t> out(values.size() + 2, 0xDEADBEEF);
        kernel(out.data() + 1, source.data(), count);
        EXPECT_EQ(out.front(), 0xDEADBEEFu);
        EXPECT_EQ(out.back(), 0xDEADBEEFu) << simdPathName(path) << " depth " << depth << " width " << count;
        int wrong = 0;
        for (size_t i = 0; i < values.size() && wrong < 3; ++i) {
          const uint32_t expected = test::modelXrgb(values[i], f);
          if (out[i + 1] == expected) continue;
          ++wrong;
          ADD_FAILURE() << simdPathName(path) << " depth " << depth << " width " << count << " pixel " << i << " raw "
                        << std::hex << values[i] << ": " << out[i + 1] << ", not " << expected;
        }
      }
    }
  }
}

TEST(ScreenRows, OtherFormatsHaveNoKernel) {
  const PixelFormat bgr565{16, 0x001F, 0x07E0, 0xF800};
  EXPECT_EQ(screenRowKernelFor(bgr565), nullptr);
  EXPECT_NE(screenRowKernelFor(pixelFormatForDepth(24)), nullptr);
}

}  // namespace
}  // namespace kelvox::platform
