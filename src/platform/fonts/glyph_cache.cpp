// The glyph cache's bookkeeping: a list in order of use and an index into it.
#include "platform/fonts/glyph_cache.h"

namespace kelvox::platform {

const Glyph* GlyphCache::find(uint32_t font, uint16_t code) {
  auto it = index_.find(keyOf(font, code));
  if (it == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, it->second);  // iterators stay valid
  return &it->second->glyph;
}

const Glyph& GlyphCache::insert(uint32_t font, uint16_t code, Glyph glyph) {
  const uint64_t key = keyOf(font, code);
  if (auto old = index_.find(key); old != index_.end()) {
    bytes_ -= cost(old->second->glyph);
    entries_.erase(old->second);
    index_.erase(old);
  }
  entries_.push_front({key, std::move(glyph)});
  index_[key] = entries_.begin();
  bytes_ += cost(entries_.front().glyph);
  while (bytes_ > budget_ && entries_.size() > 1) {
    const Entry& last = entries_.back();
    bytes_ -= cost(last.glyph);
    index_.erase(last.key);
    entries_.pop_back();
  }
  return entries_.front().glyph;
}

}  // namespace kelvox::platform
