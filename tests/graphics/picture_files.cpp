// libpng and libjpeg writers for the decoder tests. Errors here abort the test program, which
// is what a broken fixture should do.
#include "graphics/picture_files.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace kelvox::graphics::test {

uint16_t sampleAt(int x, int y, int c, int bitDepth) {
  uint32_t v = uint32_t(x * 37 + y * 101 + c * 53 + x * y * 7);
  return bitDepth == 16 ? uint16_t(v * 2654435761u >> 16) : uint16_t(v & 0xFF);
}

namespace {

void appendBytes(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void noFlush(png_structp) {}

int channelsOf(int colourType) {
  switch (colourType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    default: return 4;
  }
}

}  // namespace

Bytes writePng(int width, int height, int colourType, int bitDepth, bool interlaced) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_write_fn(png, &out, appendBytes, noFlush);
  png_set_IHDR(png, info, width, height, bitDepth, colourType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  if (colourType == 3) {
    for (int i = 0; i < 256; ++i) palette[i] = {png_byte(i), png_byte(255 - i), png_byte(i * 3)};
    png_set_PLTE(png, info, palette, 256);
  }
  png_write_info(png, info);
  if (bitDepth == 16) png_set_swap(png);  // our rows hold host-order 16-bit samples
  const int channels = channelsOf(colourType), bytes = bitDepth / 8;
  std::vector<Bytes> rows(height, Bytes(size_t(width) * channels * bytes));
  std::vector<png_bytep> pointers;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) {
        uint16_t s = sampleAt(x, y, c, bitDepth);
        uint8_t* p = rows[y].data() + (size_t(x) * channels + c) * bytes;
        if (bytes == 2) p[0] = uint8_t(s), p[1] = uint8_t(s >> 8);
        else p[0] = uint8_t(s);
      }
    pointers.push_back(rows[y].data());
  }
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes pngChunk(const std::string& type, const Bytes& data) {
  Bytes out;
  const uint32_t n = uint32_t(data.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(n >> s));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
  crc = crc32(crc, data.data(), uInt(data.size()));
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(crc >> s));
  return out;
}

Bytes pngHeaderOnly(uint32_t width, uint32_t height) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  for (uint32_t v : {width, height})
    for (int s = 24; s >= 0; s -= 8) ihdr.push_back(uint8_t(v >> s));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, not interlaced
  Bytes chunk = pngChunk("IHDR", ihdr);
  out.insert(out.end(), chunk.begin(), chunk.end());
  return out;
}

uint32_t jpegColourAt(int x, int y) {
  int r = std::min(255, x * 4), g = std::min(255, y * 4), b = std::clamp(128 + x - y, 0, 255);
  return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

Bytes writeJpeg(int width, int height, bool progressive, bool greyscale) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = greyscale ? 1 : 3;
  cinfo.in_color_space = greyscale ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  for (int c = 0; c < cinfo.num_components; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  Bytes row(size_t(width) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = int(cinfo.next_scanline);
    for (int x = 0; x < width; ++x) {
      uint32_t c = jpegColourAt(x, y);
      if (greyscale) row[x] = uint8_t(std::min(255, (x + y) * 2));
      else row[3 * x] = uint8_t(c >> 16), row[3 * x + 1] = uint8_t(c >> 8), row[3 * x + 2] = uint8_t(c);
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace kelvox::graphics::test
