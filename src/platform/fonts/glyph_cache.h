// GlyphCache: the rendered glyphs of every font of one font engine, bounded in bytes and
// evicting the least recently used. A glyph at a large height is big (a 1000-pixel kanji is
// about a megabyte as the byte-per-pixel rows kept here), so a count of glyphs bounds nothing;
// the budget of bytes does, whatever the heights and however many fonts share it.
//
// Threads: the engine thread's only, like the fonts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

namespace kelvox::platform {

// One rendered character: set pixels as one byte each, placed relative to its cell.
struct Glyph {
  int left = 0, top = 0;  // offset of the bit rows from the cell's top-left corner
  int width = 0, rows = 0;
  std::vector<uint8_t> set;  // width × rows, 1 = ink
};

class GlyphCache {
 public:
  // 32 MiB: every glyph of JIS X 0208 at 40 pixels, or a screenful of text at any height.
  static constexpr size_t kDefaultBudgetBytes = 32u << 20;

  explicit GlyphCache(size_t budgetBytes = kDefaultBudgetBytes) : budget_(budgetBytes) {}

  // The glyph of [code] in font [font], made the most recently used; nullptr when not cached.
  const Glyph* find(uint32_t font, uint16_t code);
  // Keeps [glyph] for [font] and [code] as the most recently used and evicts the least
  // recently used others until the cache is within its budget (the new glyph always stays,
  // even alone over the budget). The reference is good until the next insert.
  const Glyph& insert(uint32_t font, uint16_t code, Glyph glyph);

  size_t bytes() const { return bytes_; }  // what the cached glyphs take, with their records
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    uint64_t key;
    Glyph glyph;
  };
  static uint64_t keyOf(uint32_t font, uint16_t code) { return uint64_t{font} << 16 | code; }
  static size_t cost(const Glyph& g) { return g.set.capacity() + sizeof(Entry) + 64; }  // 64: the map's node

  size_t budget_;
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<uint64_t, std::list<Entry>::iterator> index_;
};

}  // namespace kelvox::platform
