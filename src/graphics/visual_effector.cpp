// The twelve transition kinds, one function each, under the frame every step shares.
#include "graphics/visual_effector.h"

#include <algorithm>
#include <cmath>

#include "common/fatal_error.h"
#include "vm/random.h"

namespace kelvox::graphics {

using platform::Surface;
using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

constexpr uint8_t kBayerOrder[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21},
};
constexpr uint8_t kDiagonalOrder[8][8] = {
    {0, 3, 8, 15, 24, 35, 48, 63},  {2, 7, 14, 23, 34, 47, 62, 49}, {6, 13, 22, 33, 46, 61, 50, 36},
    {12, 21, 32, 45, 60, 51, 37, 25}, {20, 31, 44, 59, 52, 38, 26, 16}, {30, 43, 58, 53, 39, 27, 17, 9},
    {42, 57, 54, 40, 28, 18, 10, 4}, {56, 55, 41, 29, 19, 11, 5, 1},
};

// Copies [r] of [from] to the same place of [back]; refused rectangles (empty, or reaching
// off the screen) copy nothing, as the blit's result is ignored.
void copySame(Surface& back, Surface& from, const SurfaceRect& r) { back.bltFast(r.left, r.top, &from, &r, false); }

void strips(int kind, int32_t step, Surface& back, Surface& after) {
  const int W = back.width(), H = back.height();
  const int n = (kind <= 1 ? W + 19 : H + 19) / 20;
  for (int i = 0; i < n; ++i) {
    const int d = step - i;
    if (d < 0 || d >= 20) continue;
    const int line = 20 * i + d;
    switch (kind) {
      case 1: copySame(back, after, {line, 0, line + 1, H}); break;
      case 0: copySame(back, after, {W - 1 - line, 0, W - line, H}); break;
      case 2: copySame(back, after, {0, line, W, line + 1}); break;
      default: copySame(back, after, {0, H - 1 - line, W, H - line}); break;
    }
  }
}

void dissolve(int kind, int32_t step, Surface& back, Surface& after) {
  platform::LockedArea from, to;
  if (after.lock(nullptr, from, platform::LockAccess::ReadOnly) != SurfaceResult::Ok) return;
  if (back.lock(nullptr, to) != SurfaceResult::Ok) {
    after.unlock();
    return;
  }
  const int bits = back.format().bitsPerPixel;
  const int bpp = bits == 8 ? 1 : bits == 16 ? 2 : bits == 24 ? 3 : bits == 32 ? 4 : (kind == 5 && bits == 15) ? 2 : 0;
  if (bpp == 0) {
    back.unlock();
    after.unlock();
    common::raiseFatalCode(common::Fault::EffectDepth, bits);
  }
  const auto& order = kind == 4 ? kBayerOrder : kDiagonalOrder;
  const int w = std::min(from.width, to.width), h = std::min(from.height, to.height);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (order[y % 8][x % 8] == step)
        std::copy_n(from.pixels + y * from.pitch + x * bpp, bpp, to.pixels + y * to.pitch + x * bpp);
  back.unlock();
  after.unlock();
}

void mosaic(int32_t step, Surface& back, Surface& before, Surface& after) {
  Surface& source = step <= 16 ? before : after;
  const int k = step <= 16 ? step : 32 - step;
  const int b = 8 * k, W = back.width(), H = back.height();
  if (b <= 0) return;
  for (int y = 0; y < H; y += b)
    for (int x = 0; x < W; x += b) {
      SurfaceRect pixel{x, y, x + 1, y + 1}, block{x, y, std::min(x + b, W), std::min(y + b, H)};
      back.blt(&block, &source, &pixel, false);
    }
}

void raggedWipe(int kind, int32_t step, Surface& back, Surface& after, uint32_t& randomState) {
  const int W = back.width(), H = back.height();
  const int u = W / 60;
  if (u == 0) return;  // narrower than 60 pixels: no bands; the final step shows the new picture
  for (int y = 0; y < H; ++y) {
    const int r = vm::nextRandom(randomState) % u;
    const int p = kind == 7 ? u * step - 2 * r : W - u * step - 2 * r;
    copySame(back, after, {std::max(p, 0), y, std::min(p + 4 * u, W), y + 1});
  }
}

void wovenTiles(int32_t step, Surface& back, Surface& after) {
  const int W = back.width(), H = back.height();
  for (int t = 0; t < H / 16; ++t)
    for (int x0 = 0; x0 < W; x0 += 16) {
      const int x = (t % 2 == 1) ? x0 + step : x0 + 16 - step;
      copySame(back, after, {x, 16 * t, x + 1, 16 * t + 16});
    }
}

// The disc of radius [r] around the centre, copied from [from] row by row.
void disc(int r, Surface& back, Surface& from) {
  const int W = back.width(), cx = W / 2, cy = back.height() / 2;
  for (int i = 0; i < std::min(r, cy); ++i) {
    const int c = std::min(static_cast<int>(2 * std::sqrt(static_cast<double>(r) * r - static_cast<double>(i) * i)), W);
    const int left = cx - c / 2;
    copySame(back, from, {left, cy - i - 1, left + c, cy - i});
    copySame(back, from, {left, cy + i, left + c, cy + i + 1});
  }
}

int irisRadius(const Surface& back) {
  const int cx = back.width() / 2, cy = back.height() / 2;
  return static_cast<int>(std::sqrt(static_cast<double>(cx) * cx + static_cast<double>(cy) * cy));
}

void irisClose(int32_t step, Surface& back, Surface& before, Surface& after) {
  const int W = back.width(), H = back.height(), cx = W / 2, cy = H / 2;
  const int q = irisRadius(back) / 64, r = (64 - step) * q, e = (65 - step) * q;
  SurfaceRect square{e > cx ? 0 : cx - e, e > cy ? 0 : cy - e, e > cx ? W : cx + e, e > cy ? H : cy + e};
  copySame(back, after, square);
  disc(r, back, before);
}

}  // namespace

void TVisualEffector::Draw(int kind, int32_t step, int32_t stepCount, Surface& back, Surface& before, Surface& after,
                           uint32_t& randomState) {
  if (kind < 0 || kind >= kKinds) return;
  for (Surface* s : {&back, &before, &after})
    if (s->isLost() == SurfaceResult::SurfaceLost) s->restore();
  if (static_cast<uint32_t>(step) >= static_cast<uint32_t>(stepCount)) {
    back.blt(nullptr, &after, nullptr, false);
    return;
  }
  if (step == 0) {
    back.blt(nullptr, &before, nullptr, false);
    if (kind != 7 && kind != 8) return;
  }
  switch (kind) {
    case 0: case 1: case 2: case 3: strips(kind, step, back, after); break;
    case 4: case 5: dissolve(kind, step, back, after); break;
    case 6: mosaic(step, back, before, after); break;
    case 7: case 8: raggedWipe(kind, step, back, after, randomState); break;
    case 9: wovenTiles(step, back, after); break;
    case 10: disc(irisRadius(back) * step / 64, back, after); break;
    default: irisClose(step, back, before, after); break;
  }
}

}  // namespace kelvox::graphics
