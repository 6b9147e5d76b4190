// Composition of the changed region of the back buffer: the sprites sorted back to front, the
// region cleared to black, and every visible sprite that touches it drawn by its draw mode,
// trimmed to the region. A lost back buffer is restored and redrawn whole; an unchanged frame
// draws nothing.
#include "graphics/display.h"

#include <algorithm>

#include "graphics/pattern_store.h"
#include "graphics/sprite.h"

namespace kelvox::graphics {

using platform::Surface;
using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

SurfaceRect toSurface(const common::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Trims [d] to [ch] and moves the same edges of [s] by the same amounts (natural size).
void trimNatural(common::Rect& d, common::Rect& s, const common::Rect& ch) {
  if (d.left < ch.left) { s.left += ch.left - d.left; d.left = ch.left; }
  if (d.top < ch.top) { s.top += ch.top - d.top; d.top = ch.top; }
  if (d.right > ch.right) { s.right -= d.right - ch.right; d.right = ch.right; }
  if (d.bottom > ch.bottom) { s.bottom -= d.bottom - ch.bottom; d.bottom = ch.bottom; }
}

// Runs [rows] over [d] of the back buffer and [s] of the pattern, both locked.
template <typename Rows>
SurfaceResult blend(Surface& back, Surface& pattern, const common::Rect& d, const common::Rect& s, Rows rows) {
  SurfaceRect dr = toSurface(d), sr = toSurface(s);
  platform::LockedArea to, from;
  SurfaceResult r = back.lock(&dr, to);
  if (r != SurfaceResult::Ok) return r;
  r = pattern.lock(&sr, from, platform::LockAccess::ReadOnly);
  if (r != SurfaceResult::Ok) {
    back.unlock();
    return r;
  }
  uint8_t* t = to.pixels;
  const uint8_t* f = from.pixels;
  for (int32_t y = 0; y < to.height; ++y, t += to.pitch, f += from.pitch) rows(t, f, to.width);
  pattern.unlock();
  back.unlock();
  return SurfaceResult::Ok;
}

}  // namespace

// One attempt at drawing [sprite] (its pattern [p]) into the changed rectangle [ch].
static SurfaceResult drawSprite(Surface& back, const PixelRowOps& ops, const TSprite& sprite, TPattern& p,
                                const common::Rect& ch) {
  common::Rect d = sprite.destination, s = sprite.source;
  Surface& surface = *p.surface;
  if (sprite.stretched) {
    const double sx = static_cast<double>(s.right - s.left) / (d.right - d.left);
    const double sy = static_cast<double>(s.bottom - s.top) / (d.bottom - d.top);
    if (ch.left > d.left) { s.left += static_cast<int32_t>((ch.left - d.left) * sx); d.left = ch.left; }
    if (ch.top > d.top) { s.top += static_cast<int32_t>((ch.top - d.top) * sy); d.top = ch.top; }
    if (ch.right < d.right) { s.right -= static_cast<int32_t>((d.right - ch.right) * sx); d.right = ch.right; }
    if (ch.bottom < d.bottom) { s.bottom -= static_cast<int32_t>((d.bottom - ch.bottom) * sy); d.bottom = ch.bottom; }
    if (d.top == d.bottom || d.left == d.right) return SurfaceResult::Ok;
    SurfaceRect dr = toSurface(d), sr = toSurface(s);
    return back.blt(&dr, &surface, &sr, (sprite.drawMode & 7) != 0);
  }
  trimNatural(d, s, ch);
  if (d.isEmpty()) return SurfaceResult::Ok;
  SurfaceRect sr = toSurface(s);
  switch (sprite.drawMode) {
    case 0:
    case 8: return back.bltFast(d.left, d.top, &surface, &sr, false);
    case 1:
    case 9: return back.bltFast(d.left, d.top, &surface, &sr, true);
    case 2: return blend(back, surface, d, s, [&](uint8_t* t, const uint8_t* f, int n) { ops.SubtractRow(t, f, n); });
    case 3: return blend(back, surface, d, s, [&](uint8_t* t, const uint8_t* f, int n) { ops.AddRow(t, f, n); });
    case 4:
      if (sprite.alphaRate <= 0) return SurfaceResult::Ok;
      if (sprite.alphaRate >= 256) return back.bltFast(d.left, d.top, &surface, &sr, true);
      return blend(back, surface, d, s,
                   [&](uint8_t* t, const uint8_t* f, int n) { ops.BlendRow(t, f, n, sprite.alphaRate); });
    default: return SurfaceResult::Ok;  // modes 5 to 7 and the rest draw nothing
  }
}

void TDisplay::Compose() {
  // 1. Back to front: greater priority first; at equal priority the higher one on the screen
  // first, so the lower one is drawn over it.
  std::sort(spriteList_.begin(), spriteList_.end(), [](const TSprite* a, const TSprite* b) {
    if (a->priority != b->priority) return a->priority > b->priority;
    return a->destination.top < b->destination.top;
  });
  if (back_ == nullptr) return;
  // 2. A lost back buffer lost its picture too: redraw everything, or skip the frame (the
  // changed region stays for the next one).
  if (back_->isLost() != SurfaceResult::Ok) {
    back_->restore();
    markAll();
    if (back_->isLost() != SurfaceResult::Ok) return;
  }
  // 3. Nothing changed: nothing to draw.
  if (!changed_) {
    changedRect_ = kNothingChanged;
    return;
  }
  // 4. Clear the changed rectangle. A rectangle that ended up inverted or off the screen (a
  // sprite wholly outside it) is refused by the surface and clears nothing.
  noteOtherDrawing();
  const common::Rect ch = changedRect_;
  SurfaceRect area = toSurface(ch);
  back_->colorFill(&area, 0);
  // 5. The sprites that touch it (edges touching count), each tried twice at most, its
  // pattern refilled after a loss.
  for (TSprite* sprite : spriteList_) {
    if (sprite->tag != kSpriteTag || !sprite->visible) continue;
    TPatternRef* ref = patterns_.find(sprite->pattern);
    if (ref == nullptr || ref->tag != kPatternRefTag || ref->pattern == nullptr) continue;
    TPattern& p = *ref->pattern;
    if (p.tag != kPatternTag || !p.surface) continue;
    const common::Rect& d = sprite->destination;
    if (!(d.right >= ch.left && d.left <= ch.right && d.bottom >= ch.top && d.top <= ch.bottom)) continue;
    for (int attempt = 0; attempt < 2; ++attempt) {
      SurfaceResult r = drawSprite(*back_, *rowOps_, *sprite, p, ch);
      if (r == SurfaceResult::Ok) break;
      if (r == SurfaceResult::SurfaceLost) Refill(*this, ref);
    }
  }
  // 6. The screen lacks what was drawn, as far as it lies on the screen.
  unshown_ = common::unite(unshown_, common::intersect(ch, screen()));
  backChangesSeen_ = back_->changeCount();
  changed_ = false;
  changedRect_ = kNothingChanged;
}

}  // namespace kelvox::graphics
