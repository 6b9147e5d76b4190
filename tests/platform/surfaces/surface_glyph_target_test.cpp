// Text colours packed into each surface format, and runs written where they belong.
#include "platform/surfaces/surface_glyph_target.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_display.h"
#include "platform/surfaces/surface_device.h"

namespace kelvox::platform {
namespace {

TEST(SurfaceGlyphTarget, ColoursArePackedByTheFormatsMasks) {
  struct Case {
    int depth;
    uint32_t colour, raw;
  } cases[] = {
      {32, 0x123456, 0x123456},
      {24, 0x123456, 0x123456},
      // 5-6-5: red 0x12 >> 3 = 2, green 0x34 >> 2 = 13, blue 0x56 >> 3 = 10.
      {16, 0x123456, (2u << 11) | (13u << 5) | 10u},
      {16, 0xFFFFFF, 0xFFFF},
      // 5-5-5: 2, 0x34 >> 3 = 6, 10.
      {15, 0x123456, (2u << 10) | (6u << 5) | 10u},
      // 3-3-2: 0x12 >> 5 = 0, 0x34 >> 5 = 1, 0x56 >> 6 = 1.
      {8, 0x123456, (1u << 2) | 1u},
      {8, 0xFFFFFF, 0xFF},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fromXrgb8888(c.colour, pixelFormatForDepth(c.depth)), c.raw) << c.depth << " " << std::hex << c.colour;
}

TEST(SurfaceGlyphTarget, RunsLandInTheLockedAreaAtEveryDepth) {
  for (int depth : {8, 16, 24, 32}) {
    HeadlessDisplay screen;
    SurfaceDevice device{screen};
    device.setDesktopDepth(depth);
    std::unique_ptr<Surface> s;
    ASSERT_EQ(device.createSurface(6, 3, SurfaceMemory::System, s), SurfaceResult::Ok);
    s->colorFill(nullptr, 0);
    LockedArea a;
    ASSERT_EQ(s->getDC(a), SurfaceResult::Ok);
    SurfaceGlyphTarget dc(a);
    EXPECT_EQ(dc.width(), 6);
    EXPECT_EQ(dc.height(), 3);
    dc.putRun(2, 1, 3, 0xFFFFFF);
    s->releaseDC();
    uint32_t white = fromXrgb8888(0xFFFFFF, s->format());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 6; ++x)
        EXPECT_EQ(s->rawPixel(x, y), y == 1 && x >= 2 && x < 5 ? white : 0u) << depth << " " << x << "," << y;
  }
}

}  // namespace
}  // namespace kelvox::platform
