// A 32-bit device-independent bitmap, the stand-in for the original's DIBs: the text windows'
// grid rendering draws into one, and screen thumbnails are kept in one and stored as BMP files
// (bmp_file.h). Pixels are 32-bit words 0x00RRGGBB, top row first; in memory that is blue,
// green, red, unused, a DIB's own byte order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/glyph_target.h"

namespace kelvox::platform {

class Bitmap : public GlyphTarget {
 public:
  // The largest side and area a bitmap takes; larger sizes are cut to them, so a script's
  // thumbnail size never asks for gigabytes (a 640 × 480 screen and its thumbnails are far
  // below).
  static constexpr int kMaxSide = 16384;
  static constexpr int64_t kMaxPixels = int64_t{1} << 24;

  Bitmap() = default;
  // A black bitmap of [width] × [height]; negative sizes give an empty bitmap.
  Bitmap(int width, int height) { resize(width, height); }

  // Makes the bitmap [width] × [height] and black, as the original's resize of a DIB does.
  void resize(int width, int height);

  int width() const override { return width_; }
  int height() const override { return height_; }
  void putRun(int x, int y, int count, uint32_t colour) override;

  void fill(uint32_t colour);
  uint32_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  uint32_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  std::span<const uint32_t> pixels() const { return pixels_; }

  // Stretches the whole of [source] onto the whole of this bitmap, taking for each pixel the
  // source pixel under its centre (a shrunk screen stays sharp, with no colours mixed in).
  // An empty source leaves this bitmap black.
  void stretchFrom(const Bitmap& source);

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace kelvox::platform
