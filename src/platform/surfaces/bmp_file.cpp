// Reading and writing BMP files of 32-bit bitmaps; the layout is in bmp_file.h.
#include "platform/surfaces/bmp_file.h"

namespace kelvox::platform {
namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;

uint32_t u32(std::span<const uint8_t> b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t u16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

std::nullopt_t refuse(std::string* error, const char* why) {
  if (error) *error = why;
  return std::nullopt;
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Bitmap& bitmap) {
  const uint32_t rowsSize = static_cast<uint32_t>(bitmap.width()) * bitmap.height() * 4;
  std::vector<uint8_t> out;
  out.reserve(kFileHeader + kInfoHeader + rowsSize);
  out.push_back('B');
  out.push_back('M');
  put32(out, static_cast<uint32_t>(kFileHeader + kInfoHeader + rowsSize));
  put32(out, 0);
  put32(out, static_cast<uint32_t>(kFileHeader + kInfoHeader));
  put32(out, kInfoHeader);
  put32(out, static_cast<uint32_t>(bitmap.width()));
  put32(out, static_cast<uint32_t>(bitmap.height()));
  put16(out, 1);
  put16(out, 32);
  put32(out, 0);
  put32(out, rowsSize);
  for (int i = 0; i < 4; ++i) put32(out, 0);
  for (int y = bitmap.height() - 1; y >= 0; --y)
    for (int x = 0; x < bitmap.width(); ++x) put32(out, bitmap.row(y)[x]);
  return out;
}

std::optional<Bitmap> decodeBmp(std::span<const uint8_t> bytes, std::string* error) {
  if (bytes.size() < kFileHeader + kInfoHeader || bytes[0] != 'B' || bytes[1] != 'M')
    return refuse(error, "not a BMP file");
  const uint32_t rowsAt = u32(bytes, 10);
  const uint32_t header = u32(bytes, 14);
  if (header != 40 && header != 108 && header != 124) return refuse(error, "unsupported BMP header");
  if (bytes.size() < kFileHeader + header) return refuse(error, "truncated BMP header");
  const int32_t width = static_cast<int32_t>(u32(bytes, 18));
  const int32_t rawHeight = static_cast<int32_t>(u32(bytes, 22));
  const uint16_t bits = u16(bytes, 28);
  const uint32_t compression = u32(bytes, 30);
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return refuse(error, "bad BMP size");
  const bool topDown = rawHeight < 0;
  const int32_t height = topDown ? -rawHeight : rawHeight;
  if (width > Bitmap::kMaxSide || height > Bitmap::kMaxSide || int64_t{width} * height > Bitmap::kMaxPixels)
    return refuse(error, "BMP too large");
  if (bits != 32 && bits != 24) return refuse(error, "BMP depth is not 24 or 32 bits");
  if (compression == 3) {
    // Bit fields: the masks follow a 40-byte header, or sit inside a V4/V5 header.
    if (bits != 32 || bytes.size() < kFileHeader + 40 + 12) return refuse(error, "bad BMP bit fields");
    if (u32(bytes, 54) != 0x00FF0000 || u32(bytes, 58) != 0x0000FF00 || u32(bytes, 62) != 0x000000FF)
      return refuse(error, "unsupported BMP bit fields");
  } else if (compression != 0) {
    return refuse(error, "compressed BMP");
  }
  const size_t stride = (static_cast<size_t>(width) * (bits / 8) + 3) & ~size_t{3};
  if (rowsAt > bytes.size() || (bytes.size() - rowsAt) / stride < static_cast<size_t>(height))
    return refuse(error, "truncated BMP pixels");

  Bitmap bitmap(width, height);
  const size_t step = bits / 8;
  for (int32_t r = 0; r < height; ++r) {
    const uint8_t* from = bytes.data() + rowsAt + static_cast<size_t>(r) * stride;
    uint32_t* to = bitmap.row(topDown ? r : height - 1 - r);
    for (int32_t x = 0; x < width; ++x, from += step) to[x] = from[0] | from[1] << 8 | from[2] << 16;
  }
  return bitmap;
}

}  // namespace kelvox::platform
