// A rectangle of pixels in the engine's own terms, as Windows' RECT: left and top inside,
// right and bottom just outside, so the width is right - left. A rectangle whose right is not
// past its left (or bottom past its top) is empty. Used by the display, sprites and effects
// instead of any toolkit's rectangle.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kelvox::common {

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  constexpr bool isEmpty() const { return right <= left || bottom <= top; }
  constexpr bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  constexpr bool operator==(const Rect&) const = default;
};

// The part [a] and [b] share; empty (all zero) when they do not overlap.
constexpr Rect intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return r.isEmpty() ? Rect{} : r;
}

// The smallest rectangle holding both; an empty one adds nothing.
constexpr Rect unite(const Rect& a, const Rect& b) {
  if (a.isEmpty()) return b.isEmpty() ? Rect{} : b;
  if (b.isEmpty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace kelvox::common
