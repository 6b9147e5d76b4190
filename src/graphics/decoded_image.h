// DecodedImage: the transient picture a decoder hands to the pattern store. Rows run top to
// bottom without padding (pitch = width × 4 bytes), each pixel a source pixel 0x00RRGGBB
// (bytes blue, green, red, 0). The store converts the rows into a pattern surface and releases
// the image at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvox::graphics {

// The largest picture a decoder accepts: at most kMaxImageSide pixels on a side and
// kMaxImagePixels in all (64 MiB of source pixels), far beyond any picture of a 640 × 480 game
// but small enough that a hostile header cannot make the engine allocate gigabytes.
inline constexpr int32_t kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 24;

// The largest picture file read, checked from its size before reading: twice the largest
// picture above stored as 8-bit RGBA without any compression. Real pictures are a few hundred
// KB; a larger file is refused as damaged (17) and costs nothing.
inline constexpr uint64_t kMaxPictureFileBytes = 128u << 20;

// True if a picture of [width] × [height] may be decoded: both at least 1 and within the caps.
constexpr bool imageSizeAllowed(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

class DecodedImage {
 public:
  // Empty: no pixels, every size 0.
  DecodedImage() = default;

  // Makes room for [width] × [height] zeroed pixels, replacing any earlier ones. The decoders
  // check the size with imageSizeAllowed() first.
  void allocate(int32_t width, int32_t height) {
    pixels_.assign(size_t(width) * size_t(height), 0);
    width_ = width;
    height_ = height;
    pitch_ = width * 4;
  }

  bool empty() const { return pixels_.empty(); }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t pitch() const { return pitch_; }  // bytes per row: width × 4
  uint8_t* firstRow() { return empty() ? nullptr : reinterpret_cast<uint8_t*>(pixels_.data()); }
  const uint8_t* firstRow() const { return empty() ? nullptr : reinterpret_cast<const uint8_t*>(pixels_.data()); }

  // The address of pixel ([x], [y]): first row + x × 4 + y × pitch. Null for an empty image.
  uint8_t* PixelAddress(int32_t x, int32_t y) {
    return empty() ? nullptr : firstRow() + ptrdiff_t{x} * 4 + ptrdiff_t{y} * pitch_;
  }
  // The source pixel at ([x], [y]), which must lie inside the image.
  uint32_t pixel(int32_t x, int32_t y) const {
    const uint8_t* p = firstRow() + ptrdiff_t{x} * 4 + ptrdiff_t{y} * pitch_;
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  }

  // Frees the pixels, leaving the image empty.
  void Release() {
    pixels_ = {};
    width_ = height_ = pitch_ = 0;
  }
  // Hands the pixels over (a pattern keeps them as its copy, so a picture is not copied once
  // more), leaving the image empty.
  std::vector<uint32_t> takePixels() {
    std::vector<uint32_t> taken = std::move(pixels_);
    Release();
    return taken;
  }

 private:
  std::vector<uint32_t> pixels_;  // as bytes: blue, green, red, 0
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t pitch_ = 0;
};

}  // namespace kelvox::graphics
