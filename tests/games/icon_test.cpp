// The program's icon as the build paints it for the theme and the window: a rounded square,
// transparent outside it and opaque inside.
#include "demo_assets/icon.h"

#include <gtest/gtest.h>

namespace kelvox::demo {
namespace {

uint8_t alphaAt(const std::vector<uint8_t>& icon, int size, int x, int y) {
  return icon[(static_cast<size_t>(y) * size + x) * 4 + 3];
}

TEST(Icon, ARoundedSquareTransparentOutsideOpaqueInside) {
  for (int size : {16, 32, 64, 256}) {
    std::vector<uint8_t> icon = paintIcon(size);
    ASSERT_EQ(icon.size(), static_cast<size_t>(size) * size * 4) << size;
    // The square is inset by 8/256 of the size, its corners rounded by 48/256: the corner
    // pixels lie outside it, the centre and the middle of each side inside.
    int inside = size * 12 / 256 + 1, outside = size * 4 / 256;
    EXPECT_EQ(alphaAt(icon, size, 0, 0), 0) << size;
    EXPECT_EQ(alphaAt(icon, size, size - 1, size - 1), 0) << size;
    EXPECT_EQ(alphaAt(icon, size, size / 2, size / 2), 255) << size;
    EXPECT_EQ(alphaAt(icon, size, size / 2, inside), 255) << size;
    EXPECT_EQ(alphaAt(icon, size, inside, size / 2), 255) << size;
    if (size >= 32) {  // at 16 pixels this one lies on the edge
      EXPECT_EQ(alphaAt(icon, size, size / 2, outside), 0) << size;
    }
    // A pixel that the rounding cuts off: (inset + radius·(1 − 1/√2)) is about 22/256 along
    // both axes, so 14/256 lies outside the curve, though inside the square's straight edges.
    if (size >= 64) {
      EXPECT_EQ(alphaAt(icon, size, size * 14 / 256, size * 14 / 256), 0) << size;
    }
  }
}

}  // namespace
}  // namespace kelvox::demo
