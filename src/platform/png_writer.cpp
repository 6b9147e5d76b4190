// The PNG writer. libpng reports errors by longjmp, so the part that can jump works only on
// plain C data and the C++ objects live outside it.
#include "platform/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace kelvox::platform {

namespace {

// Writes [rows] to [out]; false on any libpng error. Nothing with a destructor lives here.
bool encode(std::FILE* out, png_bytep* rows, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool writePngFile(const std::filesystem::path& file, const uint32_t* xrgb8888, int width, int height,
                  std::string& error) {
  if (xrgb8888 == nullptr || width <= 0 || height <= 0) {
    error = "no picture to write";
    return false;
  }
  const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
  std::vector<png_byte> rgb(w * h * 3);
  for (size_t i = 0; i < w * h; ++i) {
    rgb[3 * i] = static_cast<png_byte>(xrgb8888[i] >> 16);
    rgb[3 * i + 1] = static_cast<png_byte>(xrgb8888[i] >> 8);
    rgb[3 * i + 2] = static_cast<png_byte>(xrgb8888[i]);
  }
  std::vector<png_bytep> rows(h);
  for (size_t y = 0; y < h; ++y) rows[y] = rgb.data() + y * w * 3;
  std::filesystem::path part = file;
  part += ".part";
  std::FILE* out = std::fopen(part.c_str(), "wb");
  if (out == nullptr) {
    error = part.string() + ": cannot be created";
    return false;
  }
  bool ok = encode(out, rows.data(), width, height);
  ok = (std::fclose(out) == 0) && ok;
  std::error_code ec;
  if (ok) std::filesystem::rename(part, file, ec);
  if (!ok || ec) {
    std::filesystem::remove(part, ec);
    error = file.string() + ": cannot be written";
    return false;
  }
  return true;
}

}  // namespace kelvox::platform
