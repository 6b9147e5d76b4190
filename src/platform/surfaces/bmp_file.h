// Windows BMP files for the 32-bit bitmaps: the screen thumbnails of the save slots
// (Save\SSHTnn), written as the original's bitmap class wrote them. The layout, all integers
// little-endian:
//
//   offset  size  field
//   0       2     "BM"
//   2       4     file size in bytes
//   6       4     reserved, 0
//   10      4     offset of the pixel rows (54 when written here)
//   14      4     header size: 40 (BITMAPINFOHEADER); 108 and 124 (V4, V5) are read too
//   18      4     width in pixels (> 0)
//   22      4     height in pixels: > 0 rows stored bottom first, < 0 top first
//   26      2     planes, 1
//   28      2     bits per pixel: 32 when written; 24 and 32 are read
//   30      4     compression: 0 (none); 3 (bit fields) is read when its masks are the plain
//                 0x00FF0000, 0x0000FF00, 0x000000FF order
//   34      4     size of the pixel rows in bytes (may be 0 when uncompressed)
//   38      8     pixels per metre, x and y (written as 0)
//   46      8     palette colours used and important (0)
//   54      ...   rows: each pixel blue, green, red (, unused); each row padded to 4 bytes
//
// Nothing else is read as a picture: palettes, 16-bit pixels, RLE and embedded JPEG or PNG are
// refused rather than misread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/surfaces/bitmap.h"

namespace kelvox::platform {

// The largest BMP file read: the largest bitmap (Bitmap::kMaxPixels, 32 bits each) with room
// for the longest header and its masks, so every file encodeBmp writes is read back.
inline constexpr uint64_t kMaxBmpFileBytes = 4 * uint64_t{Bitmap::kMaxPixels} + 1024;

// The BMP file of [bitmap]: 32 bits per pixel, uncompressed, rows bottom first.
std::vector<uint8_t> encodeBmp(const Bitmap& bitmap);

// The picture in BMP file [bytes] as a 32-bit bitmap (24-bit pixels converted), or nullopt
// with the reason in [error] for a damaged, truncated or unsupported file. Never reads past
// [bytes]; sides above Bitmap::kMaxSide are refused.
std::optional<Bitmap> decodeBmp(std::span<const uint8_t> bytes, std::string* error = nullptr);

}  // namespace kelvox::platform
