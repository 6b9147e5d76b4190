// Placing, cropping, scaling and destroying sprites; every change marks the old and the new
// destination changed.
#include "graphics/sprite.h"

#include <algorithm>
#include <memory>

#include "common/fatal_error.h"

namespace kelvox::graphics {

namespace {

// Products truncated toward zero, as the game's float-to-int conversion did.
int32_t trunc32(double v) { return static_cast<int32_t>(v); }

// True when a [width] × [height] area at [x, y] lies wholly outside the screen, so the sprite
// is hidden instead of clipped. An area that only touches an edge still counts as on screen.
bool liesOffScreen(const TDisplay& display, int32_t x, int32_t y, int32_t width, int32_t height) {
  return x + width < 0 || y + height < 0 || display.width() - x < 0 || display.height() - y < 0;
}

// The start of a crop or scale at the sprite's top-left: its old place is marked changed, and a
// [width] × [height] area there wholly off the screen hides the sprite (true).
bool hiddenOffScreen(TDisplay& display, TSprite& sprite, int32_t width, int32_t height) {
  display.MarkChanged(sprite.destination);
  if (!liesOffScreen(display, sprite.destination.left, sprite.destination.top, width, height)) return false;
  sprite.visible = false;
  return true;
}

// The end of a crop or scale: the sprite covers [width] × [height] from its top-left and shows
// [source] of its pattern.
int cropTo(TDisplay& display, TSprite& sprite, int32_t width, int32_t height, const common::Rect& source,
           bool stretched) {
  sprite.destination.right = sprite.destination.left + width;
  sprite.destination.bottom = sprite.destination.top + height;
  sprite.source = source;
  sprite.stretched = stretched;
  display.MarkChanged(sprite.destination);
  return 0;
}

TPattern* livePattern(TPatternRef* ref) {
  if (ref == nullptr || ref->tag != kPatternRefTag || ref->pattern == nullptr) return nullptr;
  return ref->pattern->tag == kPatternTag ? ref->pattern.get() : nullptr;
}

}  // namespace

TSprite* CreateSprite(TDisplay& display) {
  auto& list = display.spriteList();
  list.reserve(list.size() + 1);  // so that the append below cannot fail once the store has it
  auto owned = std::make_unique<TSprite>();
  TSprite* s = owned.get();
  s->handle = display.sprites().add(std::move(owned));
  list.push_back(s);
  return s;
}

int SetSprite(TDisplay& display, TSprite* sprite, int32_t x, int32_t y, int32_t priority, TPatternRef* ref,
              bool assignOnly) {
  if (sprite == nullptr) return 1;
  sprite->visible = false;
  TPattern* p = livePattern(ref);
  if (p == nullptr || !p->surface) return 1;
  sprite->priority = priority;
  sprite->pattern = ref->handle;
  sprite->alphaRate = 256;
  sprite->drawMode = p->drawMode;
  if (assignOnly) return 0;
  display.MarkChanged(sprite->destination);
  int32_t w = p->width, h = p->height;
  const int32_t W = display.width(), H = display.height();
  if (x + w < 0 || y + h < 0 || x > W || y > H) return 0;
  int32_t sx = 0, sy = 0;
  if (x < 0) {
    sx = -x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    sy = -y;
    h += y;
    y = 0;
  }
  if (x + w > W) w = W - x;
  if (y + h > H) h = H - y;
  sprite->source = {sx, sy, sx + w, sy + h};
  sprite->destination = {x, y, x + w, y + h};
  sprite->stretched = false;
  sprite->visible = true;
  display.MarkChanged(sprite->destination);
  return 0;
}

int SetSpriteEx(TDisplay& display, TSprite* sprite, int32_t x, int32_t y, int32_t width, int32_t height,
                int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight, int32_t priority, TPatternRef* ref) {
  if (sprite == nullptr) return 1;
  sprite->visible = false;
  if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return 1;
  display.MarkChanged(sprite->destination);
  if (width == srcWidth && height == srcHeight) {
    // The sub-rectangle as if it were the whole pattern: the pattern's size is lent for the
    // call and given back.
    TPattern* p = livePattern(ref);
    if (p == nullptr) return 1;
    const int32_t savedW = p->width, savedH = p->height;
    p->width = srcWidth;
    p->height = srcHeight;
    int result = SetSprite(display, sprite, x, y, priority, ref);
    p->width = savedW;
    p->height = savedH;
    if (result != 0) return 1;
    sprite->source = {sprite->source.left + srcX, sprite->source.top + srcY, sprite->source.right + srcX,
                      sprite->source.bottom + srcY};
    return 0;
  }
  if (SetSprite(display, sprite, 0, 0, priority, ref, true) != 0) return 1;
  const int32_t W = display.width(), H = display.height();
  if (liesOffScreen(display, x, y, width, height)) {
    sprite->visible = false;
    return 0;
  }
  const double sx = static_cast<double>(srcWidth) / width, sy = static_cast<double>(srcHeight) / height;
  common::Rect d{x, y, x + width, y + height};
  common::Rect s{srcX, srcY, srcX + srcWidth, srcY + srcHeight};
  if (d.left < 0) {
    s.left -= trunc32(d.left * sx);
    d.left = 0;
  }
  if (d.top < 0) {
    s.top -= trunc32(d.top * sy);
    d.top = 0;
  }
  if (d.right > W) {
    s.right -= trunc32((d.right - W) * sx);
    d.right = W;
  }
  if (d.bottom > H) {
    s.bottom -= trunc32((d.bottom - H) * sy);
    d.bottom = H;
  }
  sprite->destination = d;
  sprite->source = s;
  sprite->stretched = true;
  sprite->visible = true;
  display.MarkChanged(d);
  return 0;
}

int SetSpriteRect(TDisplay& display, TSprite* sprite, int32_t srcX, int32_t srcY, int32_t width, int32_t height) {
  if (sprite == nullptr) return 1;
  if (hiddenOffScreen(display, *sprite, width, height)) return 0;
  const int32_t left = sprite->destination.left, top = sprite->destination.top;
  if (left + width > display.width()) width = display.width() - left;
  if (top + height > display.height()) height = display.height() - top;
  return cropTo(display, *sprite, width, height, {srcX, srcY, srcX + width, srcY + height}, false);
}

int SetSpriteRectEx(TDisplay& display, TSprite* sprite, int32_t width, int32_t height, int32_t srcX, int32_t srcY,
                    int32_t srcWidth, int32_t srcHeight) {
  if (sprite == nullptr) return 1;
  if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return 1;
  if (hiddenOffScreen(display, *sprite, width, height)) return 0;
  if (width == srcWidth && height == srcHeight) return SetSpriteRect(display, sprite, srcX, srcY, srcWidth, srcHeight);
  const int32_t W = display.width(), H = display.height();
  const int32_t left = sprite->destination.left, top = sprite->destination.top;
  // Kept: whole-number ratios, so a reduction by a non-integer factor trims by the truncated
  // ratio and an enlargement trims the source by nothing.
  const double sx = static_cast<double>(srcWidth / width), sy = static_cast<double>(srcHeight / height);
  if (left + width > W) {
    srcWidth -= trunc32((left + width - W) * sx);
    width = W - left;
  }
  if (top + height > H) {
    srcHeight -= trunc32((top + height - H) * sy);
    height = H - top;
  }
  return cropTo(display, *sprite, width, height, {srcX, srcY, srcX + srcWidth, srcY + srcHeight}, true);
}

int SetAlphaRate(TDisplay& display, TSprite* sprite, int32_t rate) {
  if (sprite == nullptr) return 1;
  sprite->alphaRate = std::clamp(rate, 0, 256);
  display.MarkChanged(sprite->destination);
  return 0;
}

int DestroySprite(TDisplay& display, TSprite* sprite) {
  if (sprite == nullptr) return 1;
  if (sprite->tag != kSpriteTag) common::raiseFatal(common::Fault::InvalidSprite);
  display.MarkChanged(sprite->destination);
  auto& list = display.spriteList();
  auto it = std::find(list.begin(), list.end(), sprite);
  if (it != list.end()) {  // order is not kept: the last entry takes its place
    *it = list.back();
    list.pop_back();
  }
  sprite->tag = 0;
  if (display.sprites().find(sprite->handle) == sprite) display.sprites().take(sprite->handle);  // frees it
  return 0;
}

void destroyAllSprites(TDisplay& display) {
  display.spriteList().clear();
  display.sprites().clear();
}

}  // namespace kelvox::graphics
