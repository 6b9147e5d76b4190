// Game area placement and pointer mapping, in 64-bit integers so that any int point and any
// window size map without overflow or rounding drift.
#include "platform/sdl/game_viewport.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace kelvox::platform::sdl {
namespace {

// Floor and ceiling of [a] / [b] for [b] > 0, also for negative [a].
int64_t floorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t ceilDiv(int64_t a, int64_t b) { return -floorDiv(-a, b); }

int clampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// Window position of game coordinate [g] on one axis of an area at [origin], [size] window
// pixels for [gameSize] game pixels.
int toWindow(int g, int origin, int size, int gameSize) {
  int64_t first = ceilDiv(int64_t{g} * size, gameSize);           // first window pixel of g
  int64_t last = ceilDiv((int64_t{g} + 1) * size, gameSize) - 1;  // last one
  int64_t pos = last >= first ? first + (last - first) / 2 : first;
  return clampToInt(origin + pos);
}

int toGame(int w, int origin, int size, int gameSize) {
  return clampToInt(floorDiv((int64_t{w} - origin) * gameSize, size));
}

}  // namespace

GameViewport fitGameArea(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  GameViewport v;
  if (int64_t{width} * kGameHeight <= int64_t{height} * kGameWidth) {
    // Narrower than 4:3: full width, bars above and below.
    v.w = width;
    v.h = std::max(1, static_cast<int>(int64_t{width} * kGameHeight / kGameWidth));
  } else {
    v.h = height;
    v.w = std::max(1, static_cast<int>(int64_t{height} * kGameWidth / kGameHeight));
  }
  v.x = (width - v.w) / 2;
  v.y = (height - v.h) / 2;
  return v;
}

Point windowToGame(const GameViewport& viewport, Point window) {
  return {toGame(window.x, viewport.x, viewport.w, kGameWidth),
          toGame(window.y, viewport.y, viewport.h, kGameHeight)};
}

Point gameToWindow(const GameViewport& viewport, Point game) {
  return {toWindow(game.x, viewport.x, viewport.w, kGameWidth),
          toWindow(game.y, viewport.y, viewport.h, kGameHeight)};
}

int comfortableScale(int usableWidth, int usableHeight, int maxScale) {
  int scale = 1;
  while (scale < maxScale && kGameWidth * (scale + 1) <= usableWidth &&
         kGameHeight * (scale + 1) + kFrameRoom <= usableHeight)
    ++scale;
  return scale;
}

}  // namespace kelvox::platform::sdl
