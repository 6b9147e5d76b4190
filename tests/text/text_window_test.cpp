// The text window's renderers, checked by which pixels are set (never by glyph shapes): the
// expected ink is built from the font's own single drawing of a character at a known place.
#include "text/text_window.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/fonts/freetype_font_engine.h"
#include "platform/text_encoding.h"

namespace kelvox::text {
namespace {

using Pixels = std::set<std::pair<int, int>>;

// Keeps every pixel put, by colour (later runs do not hide earlier ones).
class RecordingTarget : public platform::GlyphTarget {
 public:
  RecordingTarget(int w, int h) : w_(w), h_(h) {}
  int width() const override { return w_; }
  int height() const override { return h_; }
  void putRun(int x, int y, int count, uint32_t colour) override {
    for (int i = 0; i < count; ++i) ink[colour].insert({x + i, y});
  }
  std::map<uint32_t, Pixels> ink;

 private:
  int w_, h_;
};

Pixels shifted(const Pixels& p, int dx, int dy) {
  Pixels out;
  for (auto [x, y] : p) out.insert({x + dx, y + dy});
  return out;
}
Pixels unite(const Pixels& a, const Pixels& b) {
  Pixels out = a;
  out.insert(b.begin(), b.end());
  return out;
}

class TextWindowTest : public ::testing::Test {
 protected:
  // The ink of [sjis] drawn once by the font at (x, y), as a window of fontHeight [h] uses it.
  Pixels once(const std::string& sjis, int h, int x, int y) {
    RecordingTarget t(600, 200);
    fonts.createFont(kDefaultFaceName, h)->draw(t, x, y, sjis, 1);
    return t.ink[1];
  }
  TextWindow window(const std::string& utf8, int h = 16, int32_t colour = 0xFFFFFF) {
    TextWindow w;
    w.reset(h, 600, 200, colour);
    w.append(platform::toSjis(utf8));
    return w;
  }
  platform::FreeTypeFontEngine fonts;
};

TEST(TextColour, ScriptColoursBecomeColourReferences) {
  struct Case {
    int32_t script;
    uint32_t ref;
  } cases[] = {{0x123456, 0x563412}, {0xFFFFFF, 0xFFFFFF}, {static_cast<int32_t>(0xAB0000FF), 0xFF0000}, {-1, 0xFFFFFF}};
  for (Case c : cases) EXPECT_EQ(toColourRef(c.script), c.ref) << std::hex << c.script;
  EXPECT_EQ(toPixel(0x563412), 0x123456u);
}

TEST_F(TextWindowTest, CarriageReturnStartsTheNextLineOneFontHeightDown) {
  TextWindow w = window("ab\rc");
  RecordingTarget t(600, 200);
  ASSERT_EQ(w.renderGdi(fonts, t, 0xFFFFFFFF), 0);
  // Each line is drawn at x + 1 and x: line 1 at y = 0, line 2 at y = 16, both from x = 0.
  Pixels expected = unite(unite(once("ab", 16, 1, 0), once("ab", 16, 0, 0)), unite(once("c", 16, 1, 16), once("c", 16, 0, 16)));
  EXPECT_EQ(t.ink[0xFFFFFF], expected);
  EXPECT_EQ(w.shownLength(), 4u);
}

TEST_F(TextWindowTest, ShadowPassesLieAtThreeOneAndTwoOneUnderTheText) {
  TextWindow w = window("影あ", 24, 0x00FF00);
  w.setShadow(1);
  RecordingTarget t(600, 200);
  w.renderGdi(fonts, t, 0xFFFFFFFF);
  const std::string s = platform::toSjis("影あ");
  Pixels main = unite(once(s, 24, 1, 0), once(s, 24, 0, 0));
  ASSERT_FALSE(main.empty());
  EXPECT_EQ(t.ink[0x00FF00], main);
  // Shadow at (3, 1) and (2, 1): the text's own ink moved two right and one down.
  EXPECT_EQ(t.ink[0x202020], shifted(main, 2, 1));
  EXPECT_EQ(t.ink.size(), 2u);  // no third colour
}

TEST_F(TextWindowTest, LimitRevealsWholeCharactersOnly) {
  // "あい": four bytes. A limit on a lead byte shows that character whole.
  struct Case {
    uint32_t limit;
    const char* shows;
  } cases[] = {{0, ""}, {1, "あ"}, {2, "あ"}, {3, "あい"}, {4, "あい"}, {0xFFFFFFFF, "あい"}};
  for (Case c : cases) {
    TextWindow w = window("あい");
    RecordingTarget t(600, 200);
    w.renderGdi(fonts, t, c.limit);
    const std::string s = platform::toSjis(c.shows);
    EXPECT_EQ(t.ink[0xFFFFFF], unite(once(s, 16, 1, 0), once(s, 16, 0, 0))) << c.limit;
    EXPECT_EQ(w.shownLength(), std::min(c.limit, 4u)) << c.limit;
  }
}

TEST_F(TextWindowTest, AFontThatCannotBeMadeDrawsNothingAndReturnsOne) {
  for (int32_t h : {5000, -5000, INT32_MAX}) {
    TextWindow w = window("abc", h);
    RecordingTarget t(600, 200);
    EXPECT_EQ(w.renderGdi(fonts, t, 3), 1) << h;
    EXPECT_TRUE(t.ink.empty()) << h;
  }
}

TEST_F(TextWindowTest, LineFeedIsDrawnByGdiAndSkippedByTheGrid) {
  // After the carriage return, the line feed takes a half cell in the GDI renderer, so "A"
  // starts 8 pixels in; the grid renderer skips it and "A" sits in column 0.
  TextWindow w = window("x\r\nA");
  RecordingTarget t(600, 200);
  w.renderGdi(fonts, t, 0xFFFFFFFF);
  Pixels secondLine;
  for (auto p : t.ink[0xFFFFFF])
    if (p.second >= 16) secondLine.insert(p);
  const std::string lfA = "\nA";
  EXPECT_EQ(secondLine, unite(once(lfA, 16, 1, 16), once(lfA, 16, 0, 16)));

  TextWindow g = window("x\r\nA");
  g.renderGrid(fonts, 0xFFFFFFFF);
  Pixels grid;
  for (int y = 16; y < 200; ++y)
    for (int x = 0; x < 600; ++x)
      if (g.pixels()[y * 600 + x] != 0) grid.insert({x, y});
  EXPECT_EQ(grid, unite(once("A", 16, 0, 16), once("A", 16, 1, 16)));
}

TEST_F(TextWindowTest, GridGivesEveryByteAHalfCellAndKeepsKatakanaSingle) {
  // ｱ (0xB1), 漢 (two bytes, two cells), then A: A lands in cell 3, at x = 3 × 8.
  std::string s = "\xB1" + platform::toSjis("漢") + "A";
  TextWindow w;
  w.reset(16, 600, 200, 0xFFFFFF);
  w.append(s);
  w.renderGrid(fonts, 0xFFFFFFFF);
  Pixels ink;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 600; ++x)
      if (w.pixels()[y * 600 + x] != 0) {
        EXPECT_EQ(w.pixels()[y * 600 + x], 0xFFFFFFu);
        ink.insert({x, y});
      }
  Pixels expected;
  for (auto [text, x] : {std::pair{std::string("\xB1"), 0}, {platform::toSjis("漢"), 8}, {std::string("A"), 24}})
    expected = unite(expected, unite(once(text, 16, x, 0), once(text, 16, x + 1, 0)));
  EXPECT_EQ(ink, expected);
}

TEST_F(TextWindowTest, CopyFromTakesEverythingAndReleaseDropsTheImage) {
  TextWindow a = window("abc", 20, 0x102030);
  a.setShadow(1);
  a.setFaceName("Face");
  a.renderGrid(fonts, 2);
  RecordingTarget t(10, 10);
  a.renderGdi(fonts, t, 2);
  TextWindow b;
  b.copyFrom(a);
  EXPECT_EQ(b.text(), "abc");
  EXPECT_EQ(b.fontHeight(), 20);
  EXPECT_EQ(b.colour(), 0x302010u);
  EXPECT_EQ(b.shadow(), 1);
  EXPECT_EQ(b.faceName(), "Face");
  EXPECT_EQ(b.shownLength(), 2u);
  ASSERT_NE(b.pixels(), nullptr);
  EXPECT_TRUE(std::equal(a.pixels(), a.pixels() + 600 * 200, b.pixels()));
  TextWindow empty;
  b.copyFrom(empty);
  EXPECT_EQ(b.pixels(), nullptr);
  EXPECT_TRUE(b.hasBitmap());  // an empty bitmap, as the original's copy makes
  a.releaseImage();
  EXPECT_EQ(a.pixels(), nullptr);
  EXPECT_FALSE(a.hasBitmap());
}

}  // namespace
}  // namespace kelvox::text
