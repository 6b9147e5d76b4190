// Group 0x8009 as scripts see it, and the machine's 1024 windows.
#include "text/text_group.h"

#include <gtest/gtest.h>

#include "platform/surfaces/bitmap.h"
#include "platform/fonts/freetype_font_engine.h"
#include "support/test_game.h"
#include "text/text_window.h"
#include "text/text_windows.h"

namespace kelvox::text {
namespace {

using Stack = std::vector<int32_t>;

test::TestGame game(const std::string& code) {
  return test::TestGame(".code\n" + code + " WaitFrame\n.data\nhello: .string \"Hello\"\nempty: .string \"\"\n");
}

TEST(TextGroup, ScriptScenarios) {
  struct Case {
    const char* what;
    const char* code;
    Stack stack;
  } cases[] = {
      {"a string and its length", "hello 5 TextAddString 5 TextLength", {5}},
      {"an empty string adds nothing", "empty 5 TextAddString 5 TextLength", {0}},
      {"-1 prints as 4294967295", "-1 5 TextAddNumber 5 TextLength", {10}},
      {"0 prints as one digit", "0 5 TextAddNumber 5 TextLength", {1}},
      {"TextClear empties", "hello 5 TextAddString 5 TextClear 5 TextLength", {0}},
      {"windows are separate", "hello 5 TextAddString 6 TextLength", {0}},
      {"TextInit empties the text", "hello 5 TextAddString 16 200 20 5 TextInit 5 TextLength", {0}},
      {"TextDraw pops three operands", "64 48 0 SetScreenMode 16 40 20 3 TextInit 9 7 5 3 TextDraw", {9}},
      {"colour, size and shadow pop two each", "9 5 255 TextColor 5 24 TextSize 5 1 TextShadow", {9}},
      {"a window out of range does nothing", "hello 1024 TextAddString -1 TextLength 1024 TextLength", {0, 0}},
  };
  for (const Case& c : cases) {
    test::TestGame g = game(c.code);
    EXPECT_EQ(g.slice(), "") << c.what;
    EXPECT_EQ(g.stack(), c.stack) << c.what;
  }
}

TEST(TextGroup, SettersReachTheWindow) {
  test::TestGame g = game("24 300 50 5 TextInit 5 1193046 TextColor 5 30 TextSize 5 1 TextShadow 12345 5 TextAddNumber");
  ASSERT_EQ(g.slice(), "");
  const TextWindow& w = *windowAt(g.m(), 5);
  EXPECT_EQ(w.width(), 300);
  EXPECT_EQ(w.height(), 50);
  EXPECT_EQ(w.fontHeight(), 30);
  EXPECT_EQ(w.colour(), 0x563412u);  // script 0x123456
  EXPECT_EQ(w.shadow(), 1);
  EXPECT_EQ(w.text(), "12345");
  EXPECT_EQ(w.faceName(), g.m().fontName);  // TextInit takes the configured face
}

TEST(TextGroup, MachineMakesAndReleasesTheWindows) {
  test::TestGame g = game("");
  for (int i = 0; i < vm::kTextWindowCount; ++i) ASSERT_NE(windowAt(g.m(), i), nullptr);
  EXPECT_EQ(windowAt(g.m(), 0)->faceName(), kDefaultFaceName);  // until TextInit
  EXPECT_NO_THROW(vm::teardownMachine(g.m()));
  for (int i = 0; i < vm::kTextWindowCount; ++i) ASSERT_EQ(windowAt(g.m(), i), nullptr);
}

TEST(TextGroup, DrawTextIntoClearsTheSurfaceFirst) {
  platform::FreeTypeFontEngine fonts;
  platform::Bitmap surface(100, 30);
  surface.fill(0xABCDEF);
  TextWindow w;
  w.reset(16, 100, 30, 0xFFFFFF);
  w.append("abc");
  drawTextInto(w, surface, 0, fonts);  // limit 0: cleared to colour 0, nothing shown
  for (uint32_t p : surface.pixels()) ASSERT_EQ(p, 0u);
  EXPECT_EQ(w.shownLength(), 0u);
  drawTextInto(w, surface, 3, fonts);
  int ink = 0;
  for (uint32_t p : surface.pixels()) ink += p == 0xFFFFFF;
  EXPECT_GT(ink, 10);
}

}  // namespace
}  // namespace kelvox::text
