// The glyph cache keeps within its budget of bytes and evicts the least recently used glyph.
#include "platform/fonts/glyph_cache.h"

#include <gtest/gtest.h>

namespace kelvox::platform {
namespace {

Glyph glyphOf(size_t bytes) {
  Glyph g;
  g.set.assign(bytes, 1);
  return g;
}

TEST(GlyphCache, StaysWithinItsBudgetEvictingTheLeastRecentlyUsed) {
  // Room for three glyphs of 100 KB with their records, not four.
  GlyphCache cache(350 * 1024);
  for (uint16_t code : {1, 2, 3}) cache.insert(7, code, glyphOf(100 * 1024));
  ASSERT_NE(cache.find(7, 1), nullptr);  // 1 is now the most recently used, 2 the least
  cache.insert(8, 1, glyphOf(100 * 1024));  // another font's glyph of the same code
  EXPECT_EQ(cache.find(7, 2), nullptr);
  for (auto [font, code] : {std::pair<uint32_t, uint16_t>{7, 1}, {7, 3}, {8, 1}})
    EXPECT_NE(cache.find(font, code), nullptr) << font << ":" << code;
  EXPECT_LE(cache.bytes(), 350u * 1024);
  // A glyph larger than the whole budget stays alone, until the next one.
  EXPECT_EQ(cache.insert(9, 1, glyphOf(1 << 20)).set.size(), 1u << 20);
  EXPECT_EQ(cache.size(), 1u);
  cache.insert(9, 2, glyphOf(10));
  EXPECT_EQ(cache.find(9, 1), nullptr);
}

}  // namespace
}  // namespace kelvox::platform
