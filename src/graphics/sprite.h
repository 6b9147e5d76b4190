// TSprite: a rectangle of a pattern placed on the screen at its natural size or scaled, with a
// priority and a draw mode. The operations here place, crop, scale and destroy sprites and
// add every area they touch to the display's changed region; composition (display_compose.cpp)
// draws them. Sprite numbers and the creation of a missing sprite belong to the graphics group.
//
// Draw modes (copied from the pattern by SetSprite):
//   0, 8  opaque copy          1, 9  keyed copy (black transparent)
//   2     subtract             3     add
//   4     alpha: rate 0 draws nothing, 1..255 blends, 256 draws as mode 1
//   5, 6, 7 and any other value: nothing is drawn
// A stretched sprite is always one blit, keyed when (mode & 7) != 0; it never blends.
#pragma once

#include <cstdint>

#include "common/rect.h"
#include "graphics/display.h"
#include "graphics/pattern.h"

namespace kelvox::graphics {

inline constexpr uint32_t kSpriteTag = 0x01B1E81F;

// A sprite's slot in the display's sprite store and the slot's generation.
using SpriteHandle = vm::ObjectHandle;

struct TSprite {
  uint32_t tag = kSpriteTag;
  SpriteHandle handle;       // this sprite's slot in the display's sprite store
  common::Rect destination;  // on the screen, already clipped to it
  common::Rect source;       // within the pattern, trimmed with the destination
  PatternHandle pattern;     // not owned; resolves to null once the pattern is destroyed
  int32_t priority = 0;      // larger values are drawn first (further back)
  int32_t alphaRate = 256;   // 0..256
  int32_t drawMode = 0;
  bool stretched = false;
  bool visible = false;
};

// A new sprite (no pattern, invisible), owned by the display's sprite store and appended to its
// list. Memory running out raises std::bad_alloc with nothing made.
TSprite* CreateSprite(TDisplay& display);
// Places [ref]'s whole pattern with its top-left at ([x], [y]), clipped to the screen. 1 when
// the sprite, ref, pattern or its surface is missing (the sprite is then invisible). With
// [assignOnly] only the pattern, priority, rate and mode are taken.
int SetSprite(TDisplay& display, TSprite* sprite, int32_t x, int32_t y, int32_t priority, TPatternRef* ref,
              bool assignOnly = false);
// Shows the pattern's rectangle (srcX, srcY, srcWidth × srcHeight) on (x, y, width × height),
// scaled when the sizes differ. 1 for a zero size or a missing pattern.
int SetSpriteEx(TDisplay& display, TSprite* sprite, int32_t x, int32_t y, int32_t width, int32_t height,
                int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight, int32_t priority, TPatternRef* ref);
// Crops: the pattern's (srcX, srcY, width × height) at the sprite's current top-left.
int SetSpriteRect(TDisplay& display, TSprite* sprite, int32_t srcX, int32_t srcY, int32_t width, int32_t height);
// Crops and scales at the sprite's current top-left. 1 for a zero size.
int SetSpriteRectEx(TDisplay& display, TSprite* sprite, int32_t width, int32_t height, int32_t srcX, int32_t srcY,
                    int32_t srcWidth, int32_t srcHeight);
// The rate (clamped to 0..256) for mode 4.
int SetAlphaRate(TDisplay& display, TSprite* sprite, int32_t rate);
// Removes the sprite from the display's list and store and frees it. 1 when missing; a wrong
// tag raises 61.
int DestroySprite(TDisplay& display, TSprite* sprite);
// Destroys every sprite of the display.
void destroyAllSprites(TDisplay& display);

}  // namespace kelvox::graphics
