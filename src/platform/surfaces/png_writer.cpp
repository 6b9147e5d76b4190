// The PNG writer. libpng reports errors by longjmp, so the part that can jump works only on
// plain C data and the C++ objects live outside it.
#include "platform/surfaces/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "platform/atomic_file.h"

namespace kelvox::platform {

namespace {

// libpng's output goes to the AtomicFile; a write error there is the commit's to report.
void writeToFile(png_structp png, png_bytep data, size_t length) {
  static_cast<AtomicFile*>(png_get_io_ptr(png))->write({data, length});
}
void flushNothing(png_structp) {}

// Writes [rows] to [out]; false on any libpng error. Nothing with a destructor lives here.
bool encode(AtomicFile* out, png_bytep* rows, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, writeToFile, flushNothing);
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
  AtomicFile out(file);
  std::string why;
  if (!out.open(why)) {
    error = file.string() + ": " + why;
    return false;
  }
  if (!encode(&out, rows.data(), width, height)) {
    error = file.string() + ": cannot be encoded";
    return false;  // out's destructor removes the temporary
  }
  if (!out.commit(why)) {
    error = file.string() + ": " + why;
    return false;
  }
  return true;
}

}  // namespace kelvox::platform
