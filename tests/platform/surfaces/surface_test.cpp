// The software surfaces: their verbs, result codes, loss and restoration, the device's faults,
// and the primary surface's way to the screen.
#include "platform/surfaces/surface.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "platform/headless/headless_display.h"
#include "platform/surfaces/surface_device.h"
#include "support/xrgb_model.h"

namespace kelvox::platform {
namespace {

struct Surfaces : ::testing::Test {
  HeadlessDisplay screen;
  SurfaceDevice device{screen};
  std::unique_ptr<Surface> make(int w, int h, SurfaceMemory memory = SurfaceMemory::System) {
    std::unique_ptr<Surface> s;
    EXPECT_EQ(device.createSurface(w, h, memory, s), SurfaceResult::Ok);
    return s;
  }
};

TEST(SurfaceFormats, EachDepthHasItsMasks) {
  struct Case { int depth, bits; uint32_t r, g, b; } cases[] = {
      {8, 8, 0xE0, 0x1C, 0x03},           {15, 16, 0x7C00, 0x03E0, 0x001F}, {16, 16, 0xF800, 0x07E0, 0x001F},
      {24, 24, 0xFF0000, 0xFF00, 0xFF},   {32, 32, 0xFF0000, 0xFF00, 0xFF},
  };
  for (const Case& c : cases) {
    PixelFormat f = pixelFormatForDepth(c.depth);
    EXPECT_EQ(f, (PixelFormat{c.bits, c.r, c.g, c.b})) << c.depth;
  }
}

TEST_F(Surfaces, FillAndReadAtEveryDepthKeepTheWholeRawValue) {
  const struct { int depth; uint32_t value; } cases[] = {{8, 0xA5}, {15, 0x7ABC}, {16, 0xBEEF}, {24, 0xA1B2C3}, {32, 0x00A1B2C3}};
  for (auto c : cases) {
    device.setDesktopDepth(c.depth);
    auto s = make(5, 3);
    SurfaceRect r{1, 1, 4, 3};
    ASSERT_EQ(s->colorFill(nullptr, 0), SurfaceResult::Ok);
    ASSERT_EQ(s->colorFill(&r, c.value), SurfaceResult::Ok);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(s->rawPixel(x, y), r.left <= x && x < r.right && y >= r.top ? c.value : 0u) << c.depth;
  }
}

TEST_F(Surfaces, RectanglesOutsideOrEmptyAreRefused) {
  auto s = make(4, 4);
  const SurfaceRect bad[] = {{-1, 0, 2, 2}, {0, -1, 2, 2}, {2, 0, 5, 2}, {0, 2, 2, 5}, {2, 2, 2, 3}, {1, 3, 2, 3}};
  for (const SurfaceRect& r : bad) {
    EXPECT_EQ(s->colorFill(&r, 1), SurfaceResult::InvalidRect);
    LockedArea a;
    EXPECT_EQ(s->lock(&r, a), SurfaceResult::InvalidRect);
    EXPECT_EQ(s->bltFast(r.left, r.top, s.get(), &r, false), SurfaceResult::InvalidRect);
  }
}

TEST_F(Surfaces, StretchedBltTakesTheNearestSourcePixelRoundingDown) {
  auto src = make(3, 1);
  for (int x = 0; x < 3; ++x) {
    SurfaceRect px{x, 0, x + 1, 1};
    src->colorFill(&px, 10u + static_cast<uint32_t>(x));
  }
  auto dst = make(7, 2);
  ASSERT_EQ(dst->blt(nullptr, src.get(), nullptr, false), SurfaceResult::Ok);
  // Destination x takes source x * 3 / 7: 0 0 0 1 1 2 2.
  const uint32_t expected[] = {10, 10, 10, 11, 11, 12, 12};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(dst->rawPixel(x, y), expected[x]) << x << "," << y;
  // Shrinking: 7 → 2 takes x * 7 / 2: 0 and 3.
  auto small = make(2, 1);
  ASSERT_EQ(small->blt(nullptr, dst.get(), nullptr, false), SurfaceResult::Ok);
  EXPECT_EQ(small->rawPixel(0, 0), 10u);
  EXPECT_EQ(small->rawPixel(1, 0), 11u);
}

TEST_F(Surfaces, KeyedBltSkipsKeyPixelsAndNeedsAKey) {
  device.setDesktopDepth(16);
  auto src = make(4, 1);
  SurfaceRect half{2, 0, 4, 1};
  src->colorFill(nullptr, 0);
  src->colorFill(&half, 0x1234);
  auto dst = make(6, 1);
  dst->colorFill(nullptr, 0x7777);
  EXPECT_EQ(dst->bltFast(1, 0, src.get(), nullptr, true), SurfaceResult::NoColorKey);
  ASSERT_EQ(src->setColorKey(0), SurfaceResult::Ok);
  ASSERT_EQ(dst->bltFast(1, 0, src.get(), nullptr, true), SurfaceResult::Ok);
  const uint32_t expected[] = {0x7777, 0x7777, 0x7777, 0x1234, 0x1234, 0x7777};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(dst->rawPixel(x, 0), expected[x]) << x;
}

TEST_F(Surfaces, LockingIsExclusiveAndFormatsMustMatch) {
  auto s = make(4, 4);
  LockedArea a, b;
  SurfaceRect r{1, 2, 3, 4};
  ASSERT_EQ(s->lock(&r, a), SurfaceResult::Ok);
  EXPECT_EQ(a.width, 2);
  EXPECT_EQ(a.height, 2);
  a.pixels[0] = 0x42;  // pixel (1, 2), lowest byte
  EXPECT_EQ(s->lock(nullptr, b), SurfaceResult::SurfaceBusy);
  EXPECT_EQ(s->colorFill(nullptr, 0), SurfaceResult::SurfaceBusy);
  EXPECT_EQ(s->getDC(b), SurfaceResult::SurfaceBusy);
  ASSERT_EQ(s->unlock(), SurfaceResult::Ok);
  EXPECT_EQ(s->unlock(), SurfaceResult::NotLocked);
  EXPECT_EQ(s->rawPixel(1, 2), 0x42u);
  ASSERT_EQ(s->getDC(b), SurfaceResult::Ok);
  EXPECT_EQ(s->lock(nullptr, a), SurfaceResult::SurfaceBusy);
  ASSERT_EQ(s->releaseDC(), SurfaceResult::Ok);
  device.setDesktopDepth(16);
  auto other = make(4, 4);
  EXPECT_EQ(other->blt(nullptr, s.get(), nullptr, false), SurfaceResult::InvalidParams);
  EXPECT_EQ(other->blt(nullptr, nullptr, nullptr, false), SurfaceResult::InvalidObject);
}

TEST_F(Surfaces, LostSurfacesRefuseEveryVerbUntilRestoredWithJunk) {
  auto a = make(2, 2);
  auto b = make(2, 2);
  a->colorFill(nullptr, 5);
  device.loseAllSurfaces();
  LockedArea area;
  EXPECT_EQ(a->isLost(), SurfaceResult::SurfaceLost);
  EXPECT_EQ(a->lock(nullptr, area), SurfaceResult::SurfaceLost);
  EXPECT_EQ(a->colorFill(nullptr, 1), SurfaceResult::SurfaceLost);
  EXPECT_EQ(a->getDC(area), SurfaceResult::SurfaceLost);
  EXPECT_EQ(a->setColorKey(0), SurfaceResult::SurfaceLost);
  ASSERT_EQ(b->restore(), SurfaceResult::Ok);
  EXPECT_EQ(b->blt(nullptr, a.get(), nullptr, false), SurfaceResult::SurfaceLost);  // the source is lost
  device.setRestoreRefused(true);
  EXPECT_EQ(a->restore(), SurfaceResult::WrongMode);
  device.setRestoreRefused(false);
  ASSERT_EQ(a->restore(), SurfaceResult::Ok);
  EXPECT_EQ(a->isLost(), SurfaceResult::Ok);
  EXPECT_EQ(a->rawPixel(0, 0), 0xCDCDCDCDu);  // contents are gone: the owner must redraw
  auto fresh = make(1, 1);
  EXPECT_EQ(fresh->isLost(), SurfaceResult::Ok);  // made after the loss
  fresh->markLost();
  EXPECT_EQ(fresh->isLost(), SurfaceResult::SurfaceLost);
}

TEST_F(Surfaces, CreationFaults) {
  std::unique_ptr<Surface> s;
  EXPECT_EQ(device.createSurface(0, 4, SurfaceMemory::System, s), SurfaceResult::InvalidParams);
  EXPECT_EQ(device.createSurface(4, -1, SurfaceMemory::System, s), SurfaceResult::InvalidParams);
  device.failNthCreation(2);
  EXPECT_EQ(device.createSurface(4, 4, SurfaceMemory::System, s), SurfaceResult::Ok);
  EXPECT_EQ(device.createPrimary(4, 4, s), SurfaceResult::OutOfMemory);
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(device.createSurface(4, 4, SurfaceMemory::System, s), SurfaceResult::Ok);
  device.setVideoMemoryAvailable(false);
  EXPECT_EQ(device.createSurface(4, 4, SurfaceMemory::VideoAllowed, s), SurfaceResult::OutOfMemory);
  EXPECT_EQ(device.createSurface(4, 4, SurfaceMemory::System, s), SurfaceResult::Ok);
  PixelFormat bgr{16, 0x001F, 0x07E0, 0xF800};
  device.forcePrimaryFormat(&bgr);
  ASSERT_EQ(device.createPrimary(4, 4, s), SurfaceResult::Ok);
  EXPECT_EQ(s->format(), bgr);
}

TEST_F(Surfaces, PresentWidensEveryChannelToEightBits) {
  // Full intensity stays full, 0 stays 0, and a channel's top bits repeat downwards.
  const struct { int depth; uint32_t raw, xrgb; } cases[] = {
      {8, 0xE0, 0xFF0000},  {8, 0x1C, 0x00FF00},   {8, 0x03, 0x0000FF}, {8, 0x80 | 0x08 | 0x01, 0x924955},
      {15, 0x7C00, 0xFF0000}, {15, 0x0010, 0x000084}, {16, 0x07E0, 0x00FF00}, {16, 0x0400, 0x008200},
      {24, 0x123456, 0x123456}, {32, 0xABCDEF, 0xABCDEF}, {32, 0xFFABCDEF, 0xABCDEF}, {16, 0, 0},
  };
  for (auto c : cases) {
    device.setDesktopDepth(c.depth);
    std::unique_ptr<Surface> primary;
    ASSERT_EQ(device.createPrimary(2, 1, primary), SurfaceResult::Ok);
    primary->colorFill(nullptr, c.raw);
    ASSERT_EQ(device.presentPrimary(primary.get()), SurfaceResult::Ok);
    EXPECT_EQ(screen.pixel(1, 0), c.xrgb) << c.depth << " raw " << std::hex << c.raw;
  }
  std::unique_ptr<Surface> primary;
  device.createPrimary(2, 1, primary);
  device.loseAllSurfaces();
  EXPECT_EQ(device.presentPrimary(primary.get()), SurfaceResult::SurfaceLost);
}

// Fills [s] with random raw pixels and returns them row by row.
std::vector<uint32_t> fillRandom(Surface& s, std::mt19937& rng) {
  std::vector<uint32_t> raws;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) {
      const SurfaceRect pixel{x, y, x + 1, y + 1};
      raws.push_back(static_cast<uint32_t>(rng()) >> (32 - s.format().bitsPerPixel));
      EXPECT_EQ(s.colorFill(&pixel, raws.back()), SurfaceResult::Ok);
    }
  return raws;
}

// A whole present, then every pixel changes but only [changed] is presented: the screen shows
// the new pixels there and the old ones elsewhere, each as the model widens it. A primary
// other than the one shown last is presented whole whatever the rectangle.
TEST_F(Surfaces, PresentOfAChangedRectangleTakesOnlyThatPart) {
  std::mt19937 rng(4);
  const struct { int depth, w, h; SurfaceRect changed; FrameArea taken; bool another; } cases[] = {
      {16, 37, 5, {34, 3, 37, 5}, {34, 3, 3, 2}, false},  // the bottom right corner
      {8, 37, 5, {0, 0, 3, 1}, {0, 0, 3, 1}, false},      // the top left corner
      {24, 21, 4, {20, 0, 21, 4}, {20, 0, 1, 4}, false},  // the last column
      {32, 9, 9, {0, 8, 9, 9}, {0, 8, 9, 1}, false},      // the last row
      {15, 33, 3, {1, 1, 32, 2}, {1, 1, 31, 1}, false},   // inside
      {16, 7, 3, {-4, -4, 90, 90}, {0, 0, 7, 3}, false},  // reaching out: clipped to all of it
      {32, 7, 3, {5, 1, 5, 2}, {0, 0, 0, 0}, false},      // nothing: the kept picture again
      {24, 6, 2, {0, 0, 1, 1}, {0, 0, 6, 2}, true},       // another primary
  };
  for (const auto& c : cases) {
    device.setDesktopDepth(c.depth);
    std::unique_ptr<Surface> primary, next;
    ASSERT_EQ(device.createPrimary(c.w, c.h, primary), SurfaceResult::Ok);
    const std::vector<uint32_t> before = fillRandom(*primary, rng);
    ASSERT_EQ(device.presentPrimary(primary.get()), SurfaceResult::Ok);
    ASSERT_EQ(device.createPrimary(c.w, c.h, next), SurfaceResult::Ok);
    Surface& shown = c.another ? *next : *primary;
    const std::vector<uint32_t> after = fillRandom(shown, rng);
    ASSERT_EQ(device.presentPrimary(&shown, &c.changed), SurfaceResult::Ok);
    EXPECT_EQ(screen.lastArea(), c.taken) << "depth " << c.depth;
    const FrameArea& t = c.taken;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) {
        const size_t i = size_t(y * c.w + x);
        const bool inside = x >= t.x && x < t.x + t.width && y >= t.y && y < t.y + t.height;
        const uint32_t expected = test::modelXrgb(inside ? after[i] : before[i], shown.format());
        ASSERT_EQ(screen.pixel(x, y), expected) << "depth " << c.depth << " at " << x << "," << y;
      }
  }
}

// The display skips presenting a back buffer whose change count did not move, so every way of
// writing pixels must move it, and reading must not.
TEST_F(Surfaces, EveryWayOfDrawingMovesTheChangeCountAndReadingDoesNot) {
  auto s = make(4, 4), other = make(4, 4);
  LockedArea a;
  SurfaceRect corner{0, 0, 1, 1};
  const struct { const char* name; std::function<void()> act; bool changes; } cases[] = {
      {"read-write lock", [&] { s->lock(nullptr, a); s->unlock(); }, true},
      {"read-only lock", [&] { s->lock(nullptr, a, LockAccess::ReadOnly); s->unlock(); }, false},
      {"device context", [&] { s->getDC(a); s->releaseDC(); }, true},
      {"blit from it", [&] { other->bltFast(0, 0, s.get(), &corner, false); }, false},
      {"restoration", [&] { s->markLost(); s->restore(); }, true},
  };
  for (const auto& c : cases) {
    const uint64_t before = s->changeCount();
    c.act();
    EXPECT_EQ(s->changeCount() != before, c.changes) << c.name;
  }
  EXPECT_NE(s->serial(), other->serial());
}

}  // namespace
}  // namespace kelvox::platform
