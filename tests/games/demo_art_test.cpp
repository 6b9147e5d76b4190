// The demo's asset generator, piece by piece: keyed pictures keep black only where nothing was
// painted, shapes cover what they should, and the music's files keep their metre to the last
// tick, so a piece played in a loop comes round on the beat.
#include <gtest/gtest.h>

#include "demo_assets/canvas.h"
#include "demo_assets/music.h"

namespace kelvox::demo {
namespace {

TEST(DemoArt, KeyedPicturesAreBlackOnlyWhereNothingWasPainted) {
  Canvas c(3, 1);
  c.at(1, 0) = {0.0005f, 0, 0};  // painted, but darker than one step of eight bits
  c.at(2, 0) = rgb(0x102030);
  std::vector<uint8_t> keyed = c.rgb8(true);
  EXPECT_EQ(keyed[0] | keyed[1] | keyed[2], 0);  // never painted: the transparent key
  EXPECT_NE(keyed[3] | keyed[4] | keyed[5], 0);  // painted: never transparent
  EXPECT_NEAR(keyed[6], 0x10, 1);
  EXPECT_NEAR(keyed[7], 0x20, 1);
  EXPECT_NEAR(keyed[8], 0x30, 1);
  std::vector<uint8_t> plain = c.rgb8(false);
  EXPECT_EQ(plain[3] | plain[4] | plain[5], 0);  // unkeyed pictures may round it to black
}

TEST(DemoArt, ShapesCoverTheirArea) {
  // A 4 x 4 square on pixel edges covers 16 pixels whole; moved by half a pixel, its edges
  // cover half of their pixels. Disc of radius 3: about 9 pi pixels in all.
  struct Case {
    float x0, y0, expectedTotal, expectedCorner;
  };
  for (Case k : {Case{2, 2, 16, 1}, Case{2.5f, 2.5f, 16, 0.25f}}) {
    Canvas c(10, 10);
    c.polygon({{k.x0, k.y0}, {k.x0 + 4, k.y0}, {k.x0 + 4, k.y0 + 4}, {k.x0, k.y0 + 4}}, rgb(0xFFFFFF));
    float total = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) total += c.at(x, y).r;
    EXPECT_NEAR(total, k.expectedTotal, 0.01f) << k.x0;
    EXPECT_NEAR(c.at(2, 2).r, k.expectedCorner, 0.01f) << k.x0;
  }
  Canvas d(20, 20);
  d.disc({10, 10}, 3, rgb(0xFFFFFF));
  float total = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) total += d.at(x, y).r;
  EXPECT_NEAR(total, 9 * 3.14159f, 1.0f);
}

// Reads a Standard MIDI File's header and tracks: the division, the tempo and each track's
// length in ticks (the sum of its delta times).
struct Smf {
  int format = -1, division = 0;
  uint32_t microsecondsPerQuarter = 0;
  std::vector<uint32_t> trackTicks;
};

Smf readSmf(const std::vector<uint8_t>& b) {
  Smf smf;
  auto be = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b.at(at + i);
    return v;
  };
  smf.format = static_cast<int>(be(8, 2));
  smf.division = static_cast<int>(be(12, 2));
  for (size_t at = 14; at + 8 <= b.size();) {
    const size_t end = at + 8 + be(at + 4, 4);
    uint32_t ticks = 0;
    uint8_t status = 0;
    for (size_t i = at + 8; i < end;) {
      uint32_t delta = 0;
      do delta = delta << 7 | (b.at(i) & 0x7F);
      while (b.at(i++) & 0x80);
      ticks += delta;
      if (b.at(i) == 0xFF) {  // meta: type, length, data
        if (b.at(i + 1) == 0x51) smf.microsecondsPerQuarter = be(i + 3, 3);
        i += 3 + b.at(i + 2);
        continue;
      }
      if (b.at(i) & 0x80) status = b.at(i++);
      i += (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
    }
    smf.trackTicks.push_back(ticks);
    at = end;
  }
  return smf;
}

TEST(DemoArt, MusicKeepsItsTempoAndEndsOnTheLastBarLine) {
  for (const Piece& piece : {titleTheme(), nightTheme(), meteorTheme()}) {
    Smf smf = readSmf(encodeMidi(piece));
    EXPECT_EQ(smf.format, 1) << piece.name;
    EXPECT_EQ(smf.division, 480) << piece.name;
    EXPECT_EQ(smf.microsecondsPerQuarter, 60000000u / static_cast<uint32_t>(piece.bpm)) << piece.name;
    ASSERT_EQ(smf.trackTicks.size(), piece.programs.size() + 1) << piece.name;
    for (uint32_t ticks : smf.trackTicks) EXPECT_EQ(ticks, static_cast<uint32_t>(piece.bars) * 4 * 480) << piece.name;
  }
}

}  // namespace
}  // namespace kelvox::demo
