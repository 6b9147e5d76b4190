// The font engine draws real glyphs of an installed Japanese face: checked by which pixels
// are set, never by exact glyph shapes.
#include <gtest/gtest.h>

#include <string>

#include "platform/fonts/freetype_font_engine.h"
#include "platform/surfaces/bitmap.h"
#include "platform/text_encoding.h"

namespace kelvox::platform {
namespace {

constexpr uint32_t kInk = 0x123456;

// The columns of [b] that hold ink: [first, last], or (-1, -1).
std::pair<int, int> inkColumns(const Bitmap& b) {
  int first = -1, last = -1;
  for (int x = 0; x < b.width(); ++x)
    for (int y = 0; y < b.height(); ++y)
      if (b.pixel(x, y) != 0) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

int inkCount(const Bitmap& b) {
  int n = 0;
  for (uint32_t p : b.pixels()) n += p != 0;
  return n;
}

class FontEngineTest : public ::testing::Test {
 protected:
  std::shared_ptr<Font> font(const std::string& utf8Face, int height) {
    auto f = engine.createFont(toSjis(utf8Face), height);
    EXPECT_NE(f, nullptr) << "no Japanese face installed (scripts/install-deps.sh installs one)";
    return f;
  }
  FreeTypeFontEngine engine;
};

TEST_F(FontEngineTest, WindowsFacesTheMachineLacksFallBackToAJapaneseFace) {
  // None of these is installed on a Linux machine; each must still draw kana.
  for (const char* face : {"ＭＳ ゴシック", "MS Gothic", "", "No Such Face 123"}) {
    auto f = font(face, 16);
    if (!f) return;
    Bitmap b(40, 16);
    f->draw(b, 0, 0, toSjis("あ"), kInk);
    EXPECT_GT(inkCount(b), 10) << face;
  }
}

TEST_F(FontEngineTest, PositiveHeightIsTheCellAndFixedPitchHalvesIt) {
  struct Case {
    int height, half;
  };
  for (Case c : {Case{16, 8}, Case{24, 12}, Case{25, 12}}) {
    auto f = font("ＭＳ ゴシック", c.height);
    if (!f) return;
    EXPECT_EQ(f->cellHeight(), c.height);
    EXPECT_EQ(f->halfWidth(), c.half);
    Bitmap b(200, c.height);
    // Two single-byte letters then one double-byte: 4 half cells, whatever the face's advances.
    EXPECT_EQ(f->draw(b, 3, 0, toSjis("ab漢"), kInk), 3 + 4 * c.half);
    // The ink stays inside the cell's rows: nothing drawn below the cell.
    Bitmap tall(200, 2 * c.height);
    f->draw(tall, 0, 0, toSjis("gjy漢"), kInk);
    for (int y = c.height; y < 2 * c.height; ++y)
      for (int x = 0; x < 200; ++x) ASSERT_EQ(tall.pixel(x, y), 0u) << c.height << " row " << y;
  }
}

TEST_F(FontEngineTest, GlyphsAreMonochromeInTheGivenColour) {
  auto f = font("ＭＳ ゴシック", 24);
  if (!f) return;
  Bitmap b(100, 24);
  f->draw(b, 0, 0, toSjis("漢字かな"), kInk);
  for (uint32_t p : b.pixels()) ASSERT_TRUE(p == 0 || p == kInk) << std::hex << p;
  EXPECT_GT(inkCount(b), 50);
}

TEST_F(FontEngineTest, HalfWidthKatakanaAreSingleByteCharacters) {
  auto f = font("ＭＳ ゴシック", 16);
  if (!f) return;
  Bitmap b(100, 16);
  // ｱｲｳ: three bytes 0xB1 0xB2 0xB3, three half cells, each with ink.
  EXPECT_EQ(f->draw(b, 0, 0, "\xB1\xB2\xB3", kInk), 24);
  for (int cell = 0; cell < 3; ++cell) {
    Bitmap one(8, 16);
    f->draw(one, -8 * cell, 0, "\xB1\xB2\xB3", kInk);
    EXPECT_GT(inkCount(one), 3) << cell;
  }
}

TEST_F(FontEngineTest, BrokenShiftJisNeverReadsPastTheText) {
  auto f = font("ＭＳ ゴシック", 16);
  if (!f) return;
  struct Case {
    std::string text;
    int halfCells;
  };
  const Case cases[] = {
      {"\x82", 1},          // a lead byte at the end: one empty half cell
      {"A\x82", 2},         //
      {"\x82\x0D" "A", 3},  // a lead byte whose next byte is no trail: that byte is read alone
      {"\xFD\xFE\xFF", 3},  // bytes that are neither characters nor lead bytes
  };
  for (const Case& c : cases) {
    // A copy on the heap with nothing after it, so the sanitizer sees any read past the end.
    std::string copy(c.text);
    Bitmap b(100, 16);
    EXPECT_EQ(f->draw(b, 0, 0, std::string_view(copy.data(), copy.size()), kInk), 8 * c.halfCells);
  }
  Bitmap b(100, 16);
  f->draw(b, 0, 0, "\x82", kInk);
  EXPECT_EQ(inkCount(b), 0);
}

TEST_F(FontEngineTest, DrawingIsClippedToTheTarget) {
  auto f = font("ＭＳ ゴシック", 24);
  if (!f) return;
  // Drawn half outside on every side; the bitmap would trip the sanitizer on a stray write.
  Bitmap b(20, 20);
  for (auto [x, y] : {std::pair{-10, -10}, {10, 10}, {-30, 0}, {0, -30}}) f->draw(b, x, y, toSjis("漢字"), kInk);
  auto [first, last] = inkColumns(b);
  EXPECT_GE(first, 0);
  EXPECT_LT(last, 20);
}

}  // namespace
}  // namespace kelvox::platform
