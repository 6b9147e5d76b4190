// The headless screen keeps the last frame for tests and screenshots, refusing the frames a
// real screen refuses.
#include "platform/headless/headless_display.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvox::platform {
namespace {

TEST(HeadlessDisplay, KeepsTheLastFrameWithoutRowPadding) {
  HeadlessDisplay display;
  EXPECT_EQ(display.pixel(0, 0), 0u);  // nothing yet
  // 3 × 2 pixels in rows of 4: the fourth pixel of each row is padding.
  const std::vector<uint32_t> rows = {0x010203, 0x040506, 0x070809, 0xDEAD,  //
                                      0x0A0B0C, 0x0D0E0F, 0x101112, 0xBEEF};
  ASSERT_TRUE(display.presentFrame(rows.data(), 3, 2, 16));
  EXPECT_EQ(display.lastFrame(), (std::vector<uint32_t>{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112}));
  EXPECT_EQ(display.pixel(2, 1), 0x101112u);
  EXPECT_EQ(display.pixel(3, 1), 0u);  // outside the frame
  EXPECT_EQ(display.pixel(-1, 0), 0u);
  EXPECT_EQ(display.framesPresented(), 1);
}

TEST(HeadlessDisplay, BadFramesAreRefusedAndTheOldOneKept) {
  HeadlessDisplay display;
  std::vector<uint32_t> pixels(640 * 480, 0x123456);
  ASSERT_TRUE(display.presentFrame(pixels.data(), 640, 480, 640 * 4));
  struct Case {
    const char* name;
    const uint32_t* data;
    int width, height, pitch;
  };
  const Case cases[] = {
      {"null frame", nullptr, 640, 480, 640 * 4},      {"no width", pixels.data(), 0, 480, 640 * 4},
      {"negative height", pixels.data(), 640, -1, 640 * 4}, {"pitch a byte short", pixels.data(), 640, 480, 640 * 4 - 1},
      {"negative pitch", pixels.data(), 640, 480, -640 * 4},
  };
  for (const Case& c : cases) EXPECT_FALSE(display.presentFrame(c.data, c.width, c.height, c.pitch)) << c.name;
  EXPECT_EQ(display.framesPresented(), 1);
  EXPECT_EQ(display.frameWidth(), 640);
  EXPECT_EQ(display.pixel(639, 479), 0x123456u);
}

}  // namespace
}  // namespace kelvox::platform
