// Composition checked pixel by pixel on a 16 × 8 screen: every draw mode at depths 32 and 16
// against per-channel arithmetic done here, clipping at each edge, drawing order, erasing,
// stretching, lost pattern surfaces and destroyed patterns.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "graphics/pattern_store.h"
#include "graphics/sprite.h"
#include "platform/headless/headless_display.h"

namespace kelvox::graphics {
namespace {

constexpr int W = 16, H = 8;

struct Scene : ::testing::Test {
  platform::HeadlessDisplay screen;
  platform::SurfaceDevice device{screen};
  TDisplay display{device};
  std::vector<TPatternRef*> refs;
  std::vector<TSprite*> sprites;

  void bringUp(int depth) {
    device.setDesktopDepth(depth);
    display.Create();
    display.Configure(W, H, 0, false);
    display.Initialise();
  }
  void TearDown() override {
    for (TSprite* s : sprites) DestroySprite(display, s);
    for (TPatternRef* r : refs)
      if (r) Destroy(display, r);
  }
  TPatternRef* pattern(int w, int h, int mode, const std::function<uint32_t(int, int)>& colour) {
    std::vector<uint32_t> px(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) px[static_cast<size_t>(y * w + x)] = colour(x, y);
    refs.push_back(CreateFromPixels(display, nullptr, px.data(), w, h, w * 4, mode, false));
    return refs.back();
  }
  TSprite* sprite(TPatternRef* ref, int x, int y, int priority) {
    sprites.push_back(CreateSprite(display));
    SetSprite(display, sprites.back(), x, y, priority, ref);
    return sprites.back();
  }
  uint32_t at(int x, int y) { return display.BackBuffer()->rawPixel(x, y); }
};

// Channel arithmetic at depth 32 (8:8:8) or 16 (5:6:5) on 0x00RRGGBB colours, by hand.
struct Channels {
  int depth;
  int bits(int c) const { return depth == 32 ? 8 : (c == 1 ? 6 : 5); }
  int get(uint32_t rgb, int c) const { return static_cast<int>(rgb >> (16 - 8 * c) & 0xFF) >> (8 - bits(c)); }
  uint32_t pack(const int ch[3]) const {
    if (depth == 32) return static_cast<uint32_t>(ch[0] << 16 | ch[1] << 8 | ch[2]);
    return static_cast<uint32_t>(ch[0] << 11 | ch[1] << 5 | ch[2]);
  }
  template <typename F>
  uint32_t each(uint32_t d, uint32_t s, F f) const {
    int ch[3];
    for (int c = 0; c < 3; ++c) ch[c] = f(get(d, c), get(s, c), (1 << bits(c)) - 1);
    return pack(ch);
  }
  uint32_t raw(uint32_t rgb) const { return each(rgb, 0, [](int d, int, int) { return d; }); }
};

TEST_F(Scene, EveryDrawModeAtDepths32And16) {
  const uint32_t background = 0x4080C0;
  const uint32_t source[4] = {0x000000, 0x808080, 0xFF2000, 0x30F040};  // the key, then colours
  for (int depth : {32, 16}) {
    Channels ch{depth};
    for (int mode : {0, 1, 2, 3, 4, 5, 8, 9}) {
      bringUp(depth);
      TPatternRef* back = pattern(W, H, 0, [&](int, int) { return background; });
      TPatternRef* front = pattern(4, 1, mode, [&](int x, int) { return source[x]; });
      sprite(back, 0, 0, 10);
      TSprite* s = sprite(front, 3, 2, 0);
      if (mode == 4) SetAlphaRate(display, s, 100);
      display.Compose();
      for (int x = 0; x < 4; ++x) {
        uint32_t d = background, src = source[x], expected;
        bool key = src == 0;
        switch (mode) {
          case 0: case 8: expected = ch.raw(src); break;
          case 1: case 9: expected = key ? ch.raw(d) : ch.raw(src); break;
          case 2: expected = ch.each(d, src, [](int a, int b, int m) { return std::max(0, a + b - m); }); break;
          case 3: expected = ch.each(d, src, [](int a, int b, int m) { return std::min(m, a + b); }); break;
          case 4:
            expected = key ? ch.raw(d) : ch.each(d, src, [](int a, int b, int) {
              int diff = (b - a) * 100;  // floor towards minus infinity
              return a + (diff >= 0 ? diff / 256 : -((-diff + 255) / 256));
            });
            break;
          default: expected = ch.raw(d);  // mode 5 draws nothing
        }
        EXPECT_EQ(at(3 + x, 2), expected) << "depth " << depth << " mode " << mode << " pixel " << x;
      }
      EXPECT_EQ(at(2, 2), ch.raw(background));
      TearDown();
      sprites.clear();
      refs.clear();
    }
  }
}

TEST_F(Scene, AlphaRateZeroHidesAndFullRateIsAKeyedCopy) {
  bringUp(32);
  TPatternRef* back = pattern(W, H, 0, [](int, int) { return 0x111111; });
  TPatternRef* front = pattern(2, 1, 4, [](int x, int) { return x == 0 ? 0 : 0xABCDEF; });
  sprite(back, 0, 0, 1);
  TSprite* s = sprite(front, 0, 0, 0);
  SetAlphaRate(display, s, 0);
  display.Compose();
  EXPECT_EQ(at(1, 0), 0x111111u);
  SetAlphaRate(display, s, 999);  // clamped to 256
  display.Compose();
  EXPECT_EQ(at(0, 0), 0x111111u);
  EXPECT_EQ(at(1, 0), 0xABCDEFu);
}

TEST_F(Scene, ClippingAtEveryEdge) {
  bringUp(32);
  auto colour = [](int x, int y) { return static_cast<uint32_t>(0x100000 * (x + 1) + 0x100 * (y + 1) + 1); };
  TPatternRef* ref = pattern(4, 4, 0, colour);
  const struct { int x, y; } places[] = {{-2, 1}, {14, 1}, {5, -3}, {5, 6}, {-3, -3}, {15, 7}, {-4, 0}, {16, 0}};
  for (auto p : places) {
    TSprite* s = sprite(ref, p.x, p.y, 0);
    display.Compose();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        int px = x - p.x, py = y - p.y;
        uint32_t expected = (px >= 0 && px < 4 && py >= 0 && py < 4) ? colour(px, py) : 0;
        EXPECT_EQ(at(x, y), expected) << "at " << p.x << "," << p.y << " pixel " << x << "," << y;
      }
    DestroySprite(display, s);
    sprites.pop_back();
    display.InvalidateAll();
  }
}

TEST_F(Scene, PriorityThenTheLowerTopIsDrawnOver) {
  bringUp(32);
  TPatternRef* red = pattern(4, 4, 0, [](int, int) { return 0xFF0000; });
  TPatternRef* blue = pattern(4, 4, 0, [](int, int) { return 0x0000FF; });
  sprite(blue, 2, 0, 0);  // priority 0: in front
  sprite(red, 0, 0, 1);
  display.Compose();
  EXPECT_EQ(at(1, 0), 0xFF0000u);
  EXPECT_EQ(at(2, 0), 0x0000FFu);
  // Equal priorities: the one lower on the screen is drawn over, whatever the order made.
  sprite(red, 8, 1, 3);
  sprite(blue, 10, 0, 3);
  display.Compose();
  EXPECT_EQ(at(10, 1), 0xFF0000u);
  EXPECT_EQ(at(12, 0), 0x0000FFu);
}

TEST_F(Scene, MovedAndShrunkSpritesAreErasedAtTheNextFrame) {
  bringUp(32);
  TPatternRef* ref = pattern(4, 4, 0, [](int, int) { return 0x00FF00; });
  TSprite* s = sprite(ref, 0, 0, 0);
  display.Refresh();
  SetSprite(display, s, 8, 2, 0, ref);
  display.Refresh();
  EXPECT_EQ(screen.pixel(0, 0), 0u);
  EXPECT_EQ(screen.pixel(8, 2), 0x00FF00u);
  SetSpriteRect(display, s, 0, 0, 2, 1);
  display.Refresh();
  EXPECT_EQ(screen.pixel(9, 2), 0x00FF00u);
  EXPECT_EQ(screen.pixel(10, 2), 0u);
  EXPECT_EQ(screen.pixel(8, 3), 0u);
  SetSprite(display, s, 40, 0, 0, ref);  // wholly off screen: hidden, old place erased
  display.Refresh();
  EXPECT_FALSE(s->visible);
  EXPECT_EQ(screen.pixel(8, 2), 0u);
}

TEST_F(Scene, StretchedSpritesTakeTheNearestPixelAndNeverBlend) {
  bringUp(32);
  TPatternRef* back = pattern(W, H, 0, [](int, int) { return 0x101010; });
  TPatternRef* ref = pattern(2, 1, 3, [](int x, int) { return x == 0 ? 0 : 0x800000; });  // mode 3: add
  sprite(back, 0, 0, 1);
  sprites.push_back(CreateSprite(display));
  SetSpriteEx(display, sprites.back(), 2, 2, 4, 2, 0, 0, 2, 1, 0, ref);
  display.Compose();
  // Columns 2, 3 take source 0 (the key: background shows), 4, 5 source 1 unblended.
  const uint32_t row[] = {0x101010, 0x101010, 0x800000, 0x800000};
  for (int y = 2; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(at(2 + x, y), row[x]) << x << "," << y;
}

TEST_F(Scene, EqualSizesInSetSpriteExShowTheSubRectangleClipped) {
  bringUp(32);
  auto colour = [](int x, int y) { return static_cast<uint32_t>(0x10000 * (x + 1) + y + 1); };
  TPatternRef* ref = pattern(8, 4, 0, colour);
  sprites.push_back(CreateSprite(display));
  SetSpriteEx(display, sprites.back(), -1, 0, 3, 2, 4, 1, 3, 2, 0, ref);
  display.Compose();
  EXPECT_EQ(at(0, 0), colour(5, 1));
  EXPECT_EQ(at(1, 1), colour(6, 2));
  EXPECT_EQ(at(2, 0), 0u);
}

TEST_F(Scene, LostPatternsAreRefilledAndDestroyedOnesSkipped) {
  bringUp(16);
  TPatternRef* ref = pattern(2, 2, 0, [](int, int) { return 0xF80000; });
  TSprite* s = sprite(ref, 1, 1, 0);
  display.Compose();
  device.loseAllSurfaces();
  display.Compose();  // back buffer restored, the sprite's blit fails once, refill, then draws
  EXPECT_EQ(at(1, 1), 0xF800u);
  EXPECT_EQ(ref->pattern->surface->isLost(), platform::SurfaceResult::Ok);
  Destroy(display, ref);
  refs.clear();
  pattern(2, 2, 0, [](int, int) { return 0x0000F8; });  // may reuse the handle's slot
  display.InvalidateAll();
  display.Compose();
  EXPECT_TRUE(s->visible);
  EXPECT_EQ(at(1, 1), 0u);  // the sprite's pattern is gone until it is set again
}

}  // namespace
}  // namespace kelvox::graphics
