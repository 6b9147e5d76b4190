// The 32-bit bitmap's pixel work: filling, glyph runs and the nearest-pixel stretch.
#include "platform/surfaces/bitmap.h"

#include <algorithm>

namespace kelvox::platform {

void Bitmap::resize(int width, int height) {
  width_ = std::clamp(width, 0, kMaxSide);
  height_ = std::clamp(height, 0, kMaxSide);
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  else height_ = static_cast<int>(std::min<int64_t>(height_, kMaxPixels / width_));
  pixels_.assign(static_cast<size_t>(width_) * height_, 0);
}

void Bitmap::putRun(int x, int y, int count, uint32_t colour) {
  std::fill_n(row(y) + x, count, colour & 0xFFFFFF);
}

void Bitmap::fill(uint32_t colour) { std::fill(pixels_.begin(), pixels_.end(), colour & 0xFFFFFF); }

void Bitmap::stretchFrom(const Bitmap& source) {
  if (source.width_ == 0 || source.height_ == 0) {
    fill(0);
    return;
  }
  for (int y = 0; y < height_; ++y) {
    // The centre of target row y, (y + 1/2) × sh / h, in whole source rows.
    int sy = static_cast<int>((2 * int64_t{y} + 1) * source.height_ / (2 * int64_t{height_}));
    const uint32_t* from = source.row(sy);
    uint32_t* to = row(y);
    for (int x = 0; x < width_; ++x) to[x] = from[(2 * int64_t{x} + 1) * source.width_ / (2 * int64_t{width_})];
  }
}

}  // namespace kelvox::platform
