// The row operations of every display depth against a per-pixel model written from the
// definitions: channels split by their field positions, each operation computed on plain
// integers, and the pixels put back together. Every instruction set the machine runs (portable,
// SSE2, AVX2) is held to the same model. Rows of every width up to 40 catch the packed and
// vector paths' leading and trailing pixels; guard bytes around the row catch writes past it.
#include "graphics/pixel_row_ops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace kelvox::graphics {
namespace {

using platform::SimdPath;

// The instruction sets this machine runs, each of which must give the same results.
std::vector<SimdPath> availablePaths() {
  std::vector<SimdPath> paths;
  for (SimdPath p : {SimdPath::Portable, SimdPath::Sse2, SimdPath::Avx2})
    if (platform::simdPathAvailable(p)) paths.push_back(p);
  return paths;
}

struct Field {
  int shift, width;
  int max() const { return (1 << width) - 1; }
};
struct Layout {
  int depth, bytes;
  Field red, green, blue;
};
const Layout kLayouts[] = {
    {8, 1, {5, 3}, {2, 3}, {0, 2}},     {15, 2, {10, 5}, {5, 5}, {0, 5}}, {16, 2, {11, 5}, {5, 6}, {0, 5}},
    {24, 3, {16, 8}, {8, 8}, {0, 8}},   {32, 4, {16, 8}, {8, 8}, {0, 8}},
};

uint32_t readPixel(const Layout& l, const uint8_t* p) {
  uint32_t v = 0;
  for (int i = 0; i < l.bytes; ++i) v |= uint32_t{p[i]} << (8 * i);
  return v;
}
void writePixel(const Layout& l, uint8_t* p, uint32_t v) {
  for (int i = 0; i < l.bytes; ++i) p[i] = uint8_t(v >> (8 * i));
}
int channel(uint32_t v, Field f) { return int(v >> f.shift) & f.max(); }
uint32_t place(int value, Field f) { return uint32_t(value) << f.shift; }
uint32_t colourBits(const Layout& l) { return place(l.red.max(), l.red) | place(l.green.max(), l.green) | place(l.blue.max(), l.blue); }

// Applies [op](d, s, M) to each channel; bits outside the channels come out 0.
template <typename Op>
uint32_t perChannel(const Layout& l, uint32_t d, uint32_t s, Op op) {
  uint32_t r = 0;
  for (Field f : {l.red, l.green, l.blue}) r |= place(op(channel(d, f), channel(s, f), f.max()), f);
  return r;
}

int floorDiv256(int x) { return x >= 0 ? x / 256 : -((-x + 255) / 256); }

uint32_t modelSubtract(const Layout& l, uint32_t d, uint32_t s) {
  return perChannel(l, d, s, [](int a, int b, int m) { return a + b > m ? a + b - m : 0; });
}
uint32_t modelAdd(const Layout& l, uint32_t d, uint32_t s) {
  return perChannel(l, d, s, [](int a, int b, int m) { return a + b <= m ? a + b : m; });
}
uint32_t modelBlend(const Layout& l, uint32_t d, uint32_t s, int weight) {
  if (l.depth == 8) return s;              // depth 8 copies
  if ((s & colourBits(l)) == 0) return d;  // the key keeps the destination, whatever else it holds
  return perChannel(l, d, s, [weight](int a, int b, int) { return a + floorDiv256((b - a) * weight); });
}
// A source pixel's channels cut to the field widths; a non-key colour that comes out 0 gets
// the lowest bit of red (8), blue (15) or green (16).
uint32_t modelConvert(const Layout& l, uint32_t p) {
  uint32_t v = 0;
  const int rgb[3] = {int(p >> 16) & 0xFF, int(p >> 8) & 0xFF, int(p) & 0xFF};
  const Field fields[3] = {l.red, l.green, l.blue};
  for (int c = 0; c < 3; ++c) v |= place(rgb[c] >> (8 - fields[c].width), fields[c]);
  if (v == 0 && (p & 0xFFFFFF) != 0) v = l.depth == 8 ? 0x20 : l.depth == 15 ? 0x0001 : 0x0020;
  return v;
}

enum class Op { Subtract, Add, Blend };

// Random display pixels for [l]; a quarter of them are 0 (the key), some all ones. At depth 32
// the top byte is random too: the operations must clear it; at depth 15 the unused bit is 0.
std::vector<uint32_t> randomPixels(const Layout& l, int count, std::mt19937& rng) {
  std::vector<uint32_t> v(count);
  const uint32_t all = l.depth == 32 ? 0xFFFFFFFF : l.depth == 15 ? 0x7FFF : (uint32_t(1) << (8 * l.bytes)) - 1;
  for (auto& p : v) {
    uint32_t r = rng();
    p = r % 4 == 0 ? 0 : r % 7 == 0 ? all : rng() & all;
  }
  return v;
}

constexpr int kGuard = 8;  // bytes checked on each side of a row

// A row of [count] pixels with guard bytes of 0xA5 around it.
std::vector<uint8_t> rowOf(const Layout& l, const std::vector<uint32_t>& pixels) {
  std::vector<uint8_t> row(2 * kGuard + pixels.size() * l.bytes, 0xA5);
  for (size_t i = 0; i < pixels.size(); ++i) writePixel(l, row.data() + kGuard + i * l.bytes, pixels[i]);
  return row;
}

void expectGuards(const std::vector<uint8_t>& row) {
  for (int i = 0; i < kGuard; ++i) {
    EXPECT_EQ(row[i], 0xA5) << "before the row";
    EXPECT_EQ(row[row.size() - 1 - i], 0xA5) << "after the row";
  }
}

TEST(PixelRowOps, CombineEveryWidthAgainstTheModel) {
  std::mt19937 rng(1234);
  for (SimdPath path : availablePaths()) {
    SCOPED_TRACE(platform::simdPathName(path));
    for (const Layout& l : kLayouts) {
      const PixelRowOps* ops = pixelRowOpsFor(l.depth, path);
      ASSERT_NE(ops, nullptr);
      EXPECT_EQ(ops->depth, l.depth);
      for (Op op : {Op::Subtract, Op::Add, Op::Blend}) {
        for (int weight : {1, 2, 127, 128, 129, 200, 255}) {
          if (op != Op::Blend && weight != 1) continue;
          for (int count = 0; count <= 40; ++count) {
            auto d = randomPixels(l, count, rng), s = randomPixels(l, count, rng);
            auto dRow = rowOf(l, d), sRow = rowOf(l, s);
            uint8_t* dp = dRow.data() + kGuard;
            const uint8_t* sp = sRow.data() + kGuard;
            if (op == Op::Subtract) ops->SubtractRow(dp, sp, count);
            if (op == Op::Add) ops->AddRow(dp, sp, count);
            if (op == Op::Blend) ops->BlendRow(dp, sp, count, weight);
            expectGuards(dRow);
            for (int i = 0; i < count; ++i) {
              uint32_t want = op == Op::Subtract ? modelSubtract(l, d[i], s[i])
                              : op == Op::Add    ? modelAdd(l, d[i], s[i])
                                                 : modelBlend(l, d[i], s[i], weight);
              ASSERT_EQ(readPixel(l, dp + i * l.bytes), want)
                  << "depth " << l.depth << " op " << int(op) << " weight " << weight << " width " << count
                  << " pixel " << i << " d " << std::hex << d[i] << " s " << s[i];
            }
          }
        }
      }
  }
  }
}

TEST(PixelRowOps, ConvertEveryWidthAgainstTheModel) {
  std::mt19937 rng(99);
  for (SimdPath path : availablePaths()) {
    SCOPED_TRACE(platform::simdPathName(path));
    for (const Layout& l : kLayouts) {
      const PixelRowOps* ops = pixelRowOpsFor(l.depth, path);
      // Every short width, then screen-wide rows starting at several distances from a vector
      // boundary, whole pixels and not.
      std::vector<std::pair<int, int>> rows;  // count, bytes the row starts after the guard
      for (int count = 0; count <= 40; ++count) rows.push_back({count, 0});
      for (int count : {256, 257, 301, 640})
        for (int shift : {0, 2, 4, 12}) rows.push_back({count, shift});
      for (auto [count, shift] : rows) {
        std::vector<uint32_t> src(count);
        for (auto& p : src) p = rng() % 3 == 0 ? rng() & 0xFF070707 : rng();  // dark colours often
        std::vector<uint8_t> dRow(2 * kGuard + shift + count * l.bytes, 0xA5);
        uint8_t* dp = dRow.data() + kGuard + shift;
        ops->ConvertRow(dp, src.data(), count);
        expectGuards(dRow);
        for (int i = 0; i < count; ++i)
          ASSERT_EQ(readPixel(l, dp + i * l.bytes), modelConvert(l, src[i]))
              << "depth " << l.depth << " width " << count << " shift " << shift << " pixel " << i << " source "
              << std::hex << src[i];
      }
  }
  }
}

// The cases the game's pictures depend on, written out.
TEST(PixelRowOps, ConvertKeepsTheKeyAndNudgesDarkColours) {
  struct Case {
    uint32_t source;
    uint32_t want[5];  // depths 8, 15, 16, 24, 32
  };
  const Case cases[] = {
      {0x00000000, {0, 0, 0, 0, 0}},
      {0xFF000000, {0, 0, 0, 0, 0}},  // the top byte is ignored: still the key
      {0x00010101, {0x20, 0x0001, 0x0020, 0x010101, 0x010101}},
      {0x00000004, {0x20, 0x0001, 0x0020, 0x000004, 0x000004}},
      {0xFFFFFFFF, {0xFF, 0x7FFF, 0xFFFF, 0xFFFFFF, 0xFFFFFF}},
      {0x00FF0000, {0xE0, 0x7C00, 0xF800, 0xFF0000, 0xFF0000}},
      {0x00000040, {0x01, 0x0008, 0x0008, 0x000040, 0x000040}},  // blue 64: no nudge needed
  };
  for (SimdPath path : availablePaths())
    for (const auto& c : cases)
      for (int i = 0; i < 5; ++i) {
        const Layout& l = kLayouts[i];
        uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        pixelRowOpsFor(l.depth, path)->ConvertRow(out, &c.source, 1);
        EXPECT_EQ(readPixel(l, out), c.want[i])
            << platform::simdPathName(path) << " depth " << l.depth << " source " << std::hex << c.source;
      }
}

TEST(PixelRowOps, SaturationAndKeyCasesAt565) {
  for (SimdPath path : availablePaths()) {
    const PixelRowOps& ops = *pixelRowOpsFor(16, path);
    struct Case {
      Op op;
      uint16_t d, s;
      int weight;
      uint16_t want;
  };
  const Case cases[] = {
      {Op::Add, 0xFFFF, 0x1234, 0, 0xFFFF},     {Op::Add, 0xFFFF, 0xFFFF, 0, 0xFFFF},
      {Op::Add, 0x1234, 0x0000, 0, 0x1234},     {Op::Add, 0x8410, 0x8410, 0, 0xFFFF},  // every channel at half
      {Op::Subtract, 0x1234, 0x0000, 0, 0},     {Op::Subtract, 0x1234, 0xFFFF, 0, 0x1234},
      {Op::Subtract, 0xFFFF, 0x0821, 0, 0x0821},
      {Op::Blend, 0x0000, 0xF800, 128, 15 << 11},  // red 0 towards 31 at half: 15
      {Op::Blend, 0xF800, 0x0000, 128, 0xF800},    // the key leaves the destination
      {Op::Blend, 0xF800, 0x0001, 255, 0x0000},    // red 31 + floor(-31 * 255 / 256) = 0; blue 0 + floor(255 / 256) = 0
      {Op::Blend, 0xF800, 0x0001, 1, 0xF000},      // 31 + floor(-31 / 256) = 30; blue 0 + floor(1/256) = 0
  };
  for (const auto& c : cases) {
    uint16_t d[3] = {c.d, c.d, c.d}, s[3] = {c.s, c.s, c.s};  // three pixels: packed and single paths
    if (c.op == Op::Add) ops.AddRow(d, s, 3);
    if (c.op == Op::Subtract) ops.SubtractRow(d, s, 3);
    if (c.op == Op::Blend) ops.BlendRow(d, s, 3, c.weight);
    for (uint16_t v : d)
      EXPECT_EQ(v, c.want) << platform::simdPathName(path) << " op " << int(c.op) << std::hex << " d " << c.d << " s " << c.s;
  }
  }
}

TEST(PixelRowOps, CountOfZeroOrLessWritesNothing) {
  for (SimdPath path : availablePaths())
    for (const Layout& l : kLayouts) {
      const PixelRowOps& ops = *pixelRowOpsFor(l.depth, path);
      uint8_t d[32], s[32];
      std::memset(d, 0x5A, sizeof d);
      std::memset(s, 0xC3, sizeof s);
      for (int count : {0, -1, -1000}) {
        ops.ConvertRow(d, s, count);
        ops.SubtractRow(d, s, count);
        ops.AddRow(d, s, count);
        ops.BlendRow(d, s, count, 128);
      }
      for (uint8_t b : d) ASSERT_EQ(b, 0x5A) << "depth " << l.depth;
    }
}

TEST(PixelRowOps, Depth8BlendCopiesTheSourceBytes) {
  uint8_t d[11], s[11];
  for (int i = 0; i < 11; ++i) d[i] = uint8_t(0xF0 + i), s[i] = uint8_t(i * 23);  // s[0] is the key
  pixelRowOpsFor(8)->BlendRow(d, s, 11, 77);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(d[i], s[i]);
}

TEST(PixelRowOps, DepthFromTheSurfaceFormat) {
  struct Case {
    int bits;
    uint32_t r, g, b;
    int depth;
  };
  const Case cases[] = {
      {8, 0, 0, 0, 8},           {16, 0x7C00, 0x03E0, 0x001F, 15}, {16, 0xF800, 0x07E0, 0x001F, 16},
      {16, 0x0F00, 0x00F0, 0x000F, 0}, {16, 0x001F, 0x07E0, 0xF800, 0},  {24, 0xFF0000, 0xFF00, 0xFF, 24},
      {32, 0xFF0000, 0xFF00, 0xFF, 32}, {4, 0, 0, 0, 0},               {12, 0, 0, 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(displayDepthFor(c.bits, c.r, c.g, c.b), c.depth) << c.bits << " bits";
  for (int depth : {0, 1, 7, 9, 17, 31, 33}) EXPECT_EQ(pixelRowOpsFor(depth), nullptr) << depth;
}

}  // namespace
}  // namespace kelvox::graphics
