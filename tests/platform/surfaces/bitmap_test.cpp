// The 32-bit bitmap's stretch and its BMP files: written byte for byte as the layout says,
// read back, and every damaged or unsupported file refused.
#include <gtest/gtest.h>

#include "platform/surfaces/bmp_file.h"

namespace kelvox::platform {
namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

Bitmap numbered(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.row(y)[x] = static_cast<uint32_t>(0x010000 * (y + 1) + x + 1);
  return b;
}

TEST(BmpFile, WrittenFileFollowsTheLayout) {
  Bitmap b = numbered(3, 2);
  auto f = encodeBmp(b);
  ASSERT_EQ(f.size(), 14u + 40u + 3 * 2 * 4);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(get32(f, 2), f.size());
  EXPECT_EQ(get32(f, 10), 54u);
  EXPECT_EQ(get32(f, 14), 40u);
  EXPECT_EQ(get32(f, 18), 3u);
  EXPECT_EQ(get32(f, 22), 2u);  // positive: bottom row first
  EXPECT_EQ(f[26] | f[27] << 8, 1);
  EXPECT_EQ(f[28] | f[29] << 8, 32);
  EXPECT_EQ(get32(f, 30), 0u);
  EXPECT_EQ(get32(f, 34), 24u);
  // The first stored row is the bottom one (y = 1): blue x + 1, green 0, red 2.
  EXPECT_EQ(f[54], 1);
  EXPECT_EQ(f[55], 0);
  EXPECT_EQ(f[56], 2);
  EXPECT_EQ(f[57], 0);
  EXPECT_EQ(get32(f, 54 + 12), 0x010001u);  // then row 0
}

TEST(BmpFile, RoundTripKeepsEveryPixel) {
  Bitmap b = numbered(5, 3);
  auto back = decodeBmp(encodeBmp(b));
  ASSERT_TRUE(back);
  ASSERT_EQ(back->width(), 5);
  ASSERT_EQ(back->height(), 3);
  EXPECT_TRUE(std::equal(b.pixels().begin(), b.pixels().end(), back->pixels().begin()));
}

TEST(BmpFile, TopDownAndTwentyFourBitFilesAreConverted) {
  // 24-bit, 2 × 2, top row first (height -2): rows of 6 bytes padded to 8.
  std::vector<uint8_t> f = encodeBmp(Bitmap(2, 2));
  f.resize(54 + 16);
  f[28] = 24;
  put32(f, 22, static_cast<uint32_t>(-2));
  const uint8_t rows[16] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0, 0, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0, 0};
  std::copy(rows, rows + 16, f.begin() + 54);
  auto b = decodeBmp(f);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->pixel(0, 0), 0x332211u);
  EXPECT_EQ(b->pixel(1, 0), 0x665544u);
  EXPECT_EQ(b->pixel(0, 1), 0x998877u);
  EXPECT_EQ(b->pixel(1, 1), 0xCCBBAAu);
}

TEST(BmpFile, DamagedAndUnsupportedFilesAreRefused) {
  const std::vector<uint8_t> good = encodeBmp(numbered(4, 4));
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;  // written as 32 bits, or 16 for the depth
  };
  const Case cases[] = {
      {"magic", 0, 0x4D43},          {"core header", 14, 12},      {"zero width", 18, 0},
      {"negative width", 18, 0xFFFFFFFF}, {"zero height", 22, 0},   {"huge width", 18, 100000},
      {"8-bit", 28, 8},              {"16-bit", 28, 16},           {"RLE", 30, 1},
      {"PNG inside", 30, 5},         {"bit fields, odd masks", 30, 3}, {"rows past the end", 10, 60},
      {"rows offset huge", 10, 0xFFFFFFF0},
  };
  for (const Case& c : cases) {
    auto f = good;
    if (c.at == 28) f[28] = static_cast<uint8_t>(c.value), f[29] = 0;
    else if (c.at == 0) f[0] = 'B', f[1] = 'A';
    else put32(f, c.at, c.value);
    std::string why;
    EXPECT_FALSE(decodeBmp(f, &why)) << c.name;
    EXPECT_FALSE(why.empty()) << c.name;
  }
  for (size_t cut : {size_t{0}, size_t{13}, size_t{53}, good.size() - 1}) {
    std::vector<uint8_t> shorter(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
    EXPECT_FALSE(decodeBmp(shorter)) << cut;
  }
}

TEST(Bitmap, SizesAreCutToTheSideAndAreaLimits) {
  // A script chooses thumbnail sizes: beyond 16384 a side, or 2^24 pixels in all, the bitmap
  // is cut instead of asking for gigabytes.
  struct Case {
    int width, height, expectedWidth, expectedHeight;
  };
  const Case cases[] = {
      {640, 480, 640, 480},        {-1, 5, 0, 0},         {5, 0, 0, 0},
      {20000, 3, 16384, 3},        {16384, 16384, 16384, 1024}, {4096, 8192, 4096, 4096},
  };
  for (const Case& c : cases) {
    Bitmap b(c.width, c.height);
    EXPECT_EQ(b.width(), c.expectedWidth) << c.width << "x" << c.height;
    EXPECT_EQ(b.height(), c.expectedHeight) << c.width << "x" << c.height;
    EXPECT_EQ(b.pixels().size(), static_cast<size_t>(c.expectedWidth) * c.expectedHeight);
  }
}

TEST(Bitmap, StretchTakesThePixelUnderEachCentre) {
  // 4 × 2 shrunk to 2 × 1: target x = 0 has its centre at source x 1, x = 1 at source x 3;
  // the one row's centre falls on source row 1.
  Bitmap small(2, 1);
  small.stretchFrom(numbered(4, 2));
  EXPECT_EQ(small.pixel(0, 0), 0x020002u);
  EXPECT_EQ(small.pixel(1, 0), 0x020004u);
  // 2 × 1 grown to 4 × 2: each source pixel covers two columns, on both rows.
  Bitmap big(4, 2);
  big.stretchFrom(numbered(2, 1));
  const uint32_t expected[2][4] = {{0x010001, 0x010001, 0x010002, 0x010002}, {0x010001, 0x010001, 0x010002, 0x010002}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(big.pixel(x, y), expected[y][x]) << x << "," << y;
}

}  // namespace
}  // namespace kelvox::platform
