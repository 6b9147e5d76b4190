// TextDraw into patterns: the page it makes, the text colour in the surface's format, and the
// text drawn again after every surface was lost.
#include <gtest/gtest.h>

#include "graphics/pattern_store.h"
#include "platform/surfaces/surface_glyph_target.h"
#include "support/test_game.h"
#include "text/text_group.h"
#include "vm/instruction_set.h"
#include "text/text_window.h"
#include "text/text_windows.h"

namespace kelvox::text {
namespace {

// A 64 × 48 screen at [depth] and window 5 (60 × 20, font 16) holding "hello" in [colour],
// drawn with [limit] into pattern 7.
struct Scene {
  Scene(int depth, int32_t colour, int32_t limit)
      : game(".code\n64 48 0 SetScreenMode 16 60 20 5 TextInit hello 5 TextAddString 5 " + std::to_string(colour) +
             " TextColor 7 " + std::to_string(limit) + " 5 TextDraw WaitFrame\n.data\nhello: .string \"hello\"\n") {
    game.platform->surfaces().setDesktopDepth(depth);
    error = game.slice();
  }
  graphics::TPatternRef* ref() { return graphics::patternAt(game.m(), 7); }
  platform::Surface& surface() { return *ref()->pattern->surface; }
  std::vector<uint32_t> raw() {
    std::vector<uint32_t> v;
    for (int y = 0; y < surface().height(); ++y)
      for (int x = 0; x < surface().width(); ++x) v.push_back(surface().rawPixel(x, y));
    return v;
  }
  test::TestGame game;
  std::string error;
};

TEST(TextPattern, SetPixelsAreTheTextColourInThePatternsFormat) {
  struct Case {
    int depth;
    int32_t colour;
    uint32_t raw;  // the colour packed by hand
  } cases[] = {
      {32, 0x123456, 0x123456},
      {32, 0xFFFFFF, 0xFFFFFF},
      {16, 0x123456, (0x12u >> 3 << 11) | (0x34u >> 2 << 5) | (0x56u >> 3)},
      {16, 0xFF0000, 0xF800},
  };
  for (const Case& c : cases) {
    Scene s(c.depth, c.colour, -1);
    ASSERT_EQ(s.error, "") << c.depth;
    EXPECT_EQ(s.surface().format().bitsPerPixel, c.depth);
    EXPECT_EQ(s.surface().width(), 60);
    EXPECT_EQ(s.surface().height(), 20);
    EXPECT_EQ(s.ref()->pattern->drawMode, 1);
    int ink = 0;
    for (uint32_t p : s.raw()) {
      ASSERT_TRUE(p == 0 || p == c.raw) << c.depth << " " << std::hex << p;
      ink += p == c.raw;
    }
    EXPECT_GT(ink, 20) << c.depth;
  }
}

TEST(TextPattern, APatternOfAnotherSizeIsReplacedAndTheSameSizeKept) {
  Scene s(32, 0xFFFFFF, -1);
  ASSERT_EQ(s.error, "");
  graphics::TPatternRef* first = s.ref();
  first->pattern->name = "Grd\\old.png";
  vm::MachineContext& m = s.game.m();
  // The same size again: the same pattern, no longer named after a file.
  m.paramStack.push(7);
  m.paramStack.push(-1);
  m.paramStack.push(5);
  ASSERT_EQ(textGroup(m, static_cast<uint32_t>(vm::Op::TextDraw)), 0);
  EXPECT_EQ(s.ref(), first);
  EXPECT_EQ(s.ref()->pattern->name, "");
  // A larger window: a new page of its size.
  windowAt(m, 5)->reset(16, 80, 30, 0xFFFFFF);
  windowAt(m, 5)->append("hi");
  m.paramStack.push(7);
  m.paramStack.push(-1);
  m.paramStack.push(5);
  ASSERT_EQ(textGroup(m, static_cast<uint32_t>(vm::Op::TextDraw)), 0);
  EXPECT_EQ(s.surface().width(), 80);
  EXPECT_EQ(s.surface().height(), 30);
}

TEST(TextPattern, LostSurfacesGetTheirTextBackAsFarAsItWasShown) {
  for (int32_t limit : {-1, 2}) {
    Scene s(16, 0xFFFFFF, limit);
    ASSERT_EQ(s.error, "");
    std::vector<uint32_t> before = s.raw();
    int ink = 0;
    for (uint32_t p : before) ink += p != 0;
    ASSERT_GT(ink, 10) << limit;
    s.game.platform->surfaces().loseAllSurfaces();
    ASSERT_EQ(s.surface().isLost(), platform::SurfaceResult::SurfaceLost);
    ASSERT_EQ(graphics::RestorePatterns(*s.game.m().display), 0);
    EXPECT_EQ(s.raw(), before) << limit;  // Refill clears first, so only the snapshot drew this
  }
  // Two characters show less ink than five.
  Scene all(32, 0xFFFFFF, -1), two(32, 0xFFFFFF, 2);
  auto count = [](const std::vector<uint32_t>& v) {
    int n = 0;
    for (uint32_t p : v) n += p != 0;
    return n;
  };
  EXPECT_LT(count(two.raw()), count(all.raw()));
}

// A script's Japanese message reaches the screen: yellow text with its shadow inside the
// sprite's rectangle (5, 10)-(155, 50), black everywhere else.
TEST(TextPattern, AJapaneseMessageShowsOnScreenThroughASprite) {
  test::TestGame g(
      ".code\n160 60 0 SetScreenMode 24 150 40 0 TextInit msg 0 TextAddString 0 16776960 TextColor 0 1 TextShadow\n"
      "1 -1 0 TextDraw 1 5 10 1 1 SetSprite WaitDrawnFrame\n.data\nmsg: .string \"日本語のテキスト\"\n");
  g.platform->surfaces().setDesktopDepth(32);
  ASSERT_EQ(g.slice(), "");
  g.m().display->Compose();  // what the frame after the slice draws
  platform::Surface& back = *g.m().display->BackBuffer();
  int yellow = 0, shadow = 0, stray = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x) {
      uint32_t p = back.rawPixel(x, y);
      bool inside = x >= 5 && x < 155 && y >= 10 && y < 50;
      yellow += p == 0xFFFF00;
      shadow += p == 0x202020;
      stray += !inside && p != 0;
    }
  EXPECT_GT(yellow, 200);  // six whole 24-pixel characters fit 150 pixels
  EXPECT_GT(shadow, 20);
  EXPECT_EQ(stray, 0);
}

TEST(TextPattern, BadPatternNumbersAndEmptyWindowsRaise) {
  struct Case {
    const char* code;
    const char* error;
  } cases[] = {
      {"16 60 20 5 TextInit 1024 0 5 TextDraw", "TextDrawに指定するパターン番号の範囲オーバー(31)"},
      {"16 60 20 5 TextInit -1 0 5 TextDraw", "TextDrawに指定するパターン番号の範囲オーバー(31)"},
      // A window never given a size has no page to draw into.
      {"7 0 5 TextDraw", "DirectDrawオフスクリーンサーフェイスの作成に失敗しました(53)"},
  };
  for (const Case& c : cases) {
    test::TestGame g(".code\n64 48 0 SetScreenMode " + std::string(c.code) + " WaitFrame\n");
    EXPECT_EQ(g.slice(), c.error) << c.code;
  }
}

}  // namespace
}  // namespace kelvox::text
