// The twelve transition kinds on a 640 × 480 screen: the first step shows the old picture, the
// step count the new one, and middle steps uncover what the geometry of each kind says.
#include "graphics/visual_effector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "platform/headless/headless_display.h"
#include "platform/surfaces/surface_device.h"

namespace kelvox::graphics {
namespace {

using platform::Surface;

uint32_t oldAt(int x, int y) { return static_cast<uint32_t>(x << 10 | y); }
uint32_t newAt(int x, int y) { return 0x800000u | oldAt(x, y); }

struct Effects : ::testing::Test {
  platform::HeadlessDisplay screen;
  platform::SurfaceDevice device{screen};
  std::unique_ptr<Surface> back, before, after;
  uint32_t random = 12345;
  int W = 640, H = 480;

  void make(int w, int h) {
    W = w;
    H = h;
    for (auto* s : {&back, &before, &after}) device.createSurface(w, h, platform::SurfaceMemory::System, *s);
    fill(*before, oldAt);
    fill(*after, newAt);
  }
  void SetUp() override { make(640, 480); }
  static void fill(Surface& s, uint32_t (*colour)(int, int)) {
    platform::LockedArea a;
    s.lock(nullptr, a);
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x) {
        uint32_t c = colour(x, y);
        std::memcpy(a.pixels + y * a.pitch + x * 4, &c, 4);
      }
    s.unlock();
  }
  void draw(int kind, int step) {
    TVisualEffector::Draw(kind, step, TVisualEffector::kStepCounts[kind], *back, *before, *after, random);
  }
  bool isNew(int x, int y) { return back->rawPixel(x, y) == newAt(x, y); }
  bool isOld(int x, int y) { return back->rawPixel(x, y) == oldAt(x, y); }
  // Every pixel is new where [expectNew] says so, old elsewhere.
  void expectEverywhere(const std::function<bool(int, int)>& expectNew, const char* what) {
    int wrong = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (expectNew(x, y) ? !isNew(x, y) : !isOld(x, y)) {
          if (++wrong <= 3) ADD_FAILURE() << what << ": pixel " << x << "," << y;
        }
    EXPECT_EQ(wrong, 0) << what;
  }
};

TEST_F(Effects, FirstStepShowsTheOldPictureAndTheStepCountTheNew) {
  for (int kind = 0; kind < TVisualEffector::kKinds; ++kind) {
    draw(kind, 0);
    // Kinds 7 and 8 draw their first band at step 0 too; the far side is still old.
    EXPECT_TRUE(isOld(kind == 8 ? 0 : 639, 240)) << kind;
    EXPECT_TRUE(isOld(320, 240)) << kind;
    draw(kind, TVisualEffector::kStepCounts[kind] + (kind % 2) * 1000);  // or any later step
    expectEverywhere([](int, int) { return true; }, "final step");
  }
}

TEST_F(Effects, KindOutsideTheTableDrawsNothing) {
  back->colorFill(nullptr, 7);
  TVisualEffector::Draw(12, 0, 0, *back, *before, *after, random);
  TVisualEffector::Draw(-1, 64, 64, *back, *before, *after, random);
  EXPECT_EQ(back->rawPixel(0, 0), 7u);
}

TEST_F(Effects, StripsUncoverOneLinePerStepFromTheirStartingStep) {
  // Kind 1 on 640 pixels: 32 strips; after steps 0..s strip i shows columns 20i .. 20i + s - i,
  // except column 0: its step is 0, which only shows the old picture, so it waits for the end.
  for (int s : {10, 49, 50}) {
    for (int step = 0; step <= s; ++step) draw(1, step);
    expectEverywhere([&](int x, int) { int i = x / 20; return x != 0 && x % 20 <= s - i; }, "kind 1");
  }
  draw(0, 0);
  draw(0, 1);  // kind 0 mirrors it: strip 0's second line and strip 1's first
  expectEverywhere([](int x, int) { return x == 638 || x == 619; }, "kind 0 step 1");
  draw(3, 0);
  draw(3, 2);
  expectEverywhere([](int, int y) { return y == 477 || y == 458 || y == 439; }, "kind 3 step 2");
  draw(2, 0);
  draw(2, 30);  // strips 11..23 (the last of 24) act, each on its row 20i + 30 - i
  expectEverywhere([](int, int y) { return (y - 30) % 19 == 0 && (y - 30) / 19 >= 11 && (y - 30) / 19 <= 23; },
                   "kind 2 step 30");
}

TEST_F(Effects, DissolvesCopyTheCellsOfTheirStep) {
  // Kind 4 (Bayer) step 32 is cell (row 0, column 1); kind 5 step 3 the same cell, step 49 (1, 7).
  const struct { int kind, step, row, column; } cases[] = {{4, 32, 0, 1}, {4, 1, 4, 4}, {5, 3, 0, 1}, {5, 49, 1, 7}};
  for (auto c : cases) {
    draw(c.kind, 0);
    draw(c.kind, c.step);
    expectEverywhere([&](int x, int y) { return x % 8 == c.column && y % 8 == c.row; }, "dissolve");
  }
}

TEST_F(Effects, MosaicBlocksOfTheOldThenTheNewPicture) {
  draw(6, 16);
  for (int y : {0, 127, 128, 300, 479})
    for (int x : {0, 127, 128, 255, 639})
      EXPECT_EQ(back->rawPixel(x, y), oldAt(x - x % 128, y - y % 128)) << x << "," << y;
}

TEST_F(Effects, MosaicStep17ShowsTheNewPictureIn120PixelBlocks) {
  draw(6, 17);
  for (int y : {0, 119, 120, 479})
    for (int x : {0, 119, 120, 639}) EXPECT_EQ(back->rawPixel(x, y), newAt(x - x % 120, y - y % 120)) << x << "," << y;
}

TEST_F(Effects, RaggedWipesMoveABandOfFortyPixelsAtMostTwentyRagged) {
  for (int kind : {7, 8}) {
    draw(kind, 0);
    draw(kind, 20);
    // u = 10: a row's band starts 0 to 18 pixels before 10 * step and is 40 wide.
    const int start = kind == 7 ? 200 : 640 - 200;
    for (int y = 0; y < H; y += 7) {
      for (int x = start; x < start + 22; ++x) EXPECT_TRUE(isNew(x, y)) << kind << ": " << x << "," << y;
      EXPECT_TRUE(isOld(start - 19, y)) << kind << " row " << y;
      if (start + 40 < W) {
        EXPECT_TRUE(isOld(start + 40, y)) << kind << " row " << y;
      }
    }
  }
}

TEST_F(Effects, RaggedWipesOnANarrowScreenDrawOnlyTheEnds) {
  make(50, 20);  // u = 0: no bands, and no division by it
  for (int kind : {7, 8}) {
    draw(kind, 0);
    draw(kind, 30);
    expectEverywhere([](int, int) { return false; }, "narrow middle step");
    draw(kind, 64);
    expectEverywhere([](int, int) { return true; }, "narrow final step");
  }
}

TEST_F(Effects, WovenTilesMoveOppositeWaysInAlternateRows) {
  draw(9, 0);
  draw(9, 5);
  expectEverywhere(
      [](int x, int y) { return (y / 16) % 2 == 1 ? x % 16 == 5 : x % 16 == 11; }, "kind 9 step 5");
}

TEST_F(Effects, IrisOpenAtStep32IsADiscOfRadius200) {
  draw(10, 0);
  draw(10, 32);  // R = trunc(sqrt(320^2 + 240^2)) = 400; r = 400 * 32 / 64 = 200
  for (int y = 0; y < H; y += 5)
    for (int x = 0; x < W; x += 5) {
      double d = std::hypot(x + 0.5 - 320, y + 0.5 - 240);
      if (d < 198) {
        EXPECT_TRUE(isNew(x, y)) << x << "," << y;
      } else if (d > 202) {
        EXPECT_TRUE(isOld(x, y)) << x << "," << y;
      }
    }
}

TEST_F(Effects, IrisCloseKeepsAShrinkingDiscOfTheOldPicture) {
  back->blt(nullptr, after.get(), nullptr, false);
  draw(11, 32);  // q = 400 / 64 = 6: the old disc has radius 32 * 6 = 192 inside a square of 198
  for (int y = 0; y < H; y += 5)
    for (int x = 0; x < W; x += 5) {
      double d = std::hypot(x + 0.5 - 320, y + 0.5 - 240);
      if (d < 190) {
        EXPECT_TRUE(isOld(x, y)) << x << "," << y;
      } else if (d > 194) {
        EXPECT_TRUE(isNew(x, y)) << x << "," << y;
      }
    }
}

}  // namespace
}  // namespace kelvox::graphics
