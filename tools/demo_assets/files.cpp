// The PNG and JPEG encoders write into memory first, so a failed encoding leaves no half file.
#include "files.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace kelvox::demo {
namespace {

void appendPngBytes(png_structp png, png_bytep data, size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
void noFlush(png_structp) {}

// libpng reports errors by longjmp: this function holds no C++ objects that need unwinding.
// [channels]: 3 for RGB, 4 for RGBA.
bool encodePng(std::vector<uint8_t>& out, const std::vector<uint8_t>& rgb, int width, int height, int channels) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, appendPngBytes, noFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, const_cast<png_bytep>(&rgb[static_cast<size_t>(y) * width * channels]));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};
void jpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

bool encodeJpeg(unsigned char** buffer, unsigned long* size, const std::vector<uint8_t>& rgb, int width, int height,
                int quality) {
  jpeg_compress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jpegFail;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, buffer, size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<size_t>(info.next_scanline) * width * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

bool writeBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes, std::string& error) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) error = "cannot write " + file.string();
  return static_cast<bool>(out);
}

bool writePng(const std::filesystem::path& file, const std::vector<uint8_t>& rgb, int width, int height,
              std::string& error) {
  std::vector<uint8_t> bytes;
  if (!encodePng(bytes, rgb, width, height, 3)) {
    error = "cannot encode " + file.string();
    return false;
  }
  return writeBytes(file, bytes, error);
}

bool writePngWithAlpha(const std::filesystem::path& file, const std::vector<uint8_t>& rgba, int width, int height,
                       std::string& error) {
  std::vector<uint8_t> bytes;
  if (!encodePng(bytes, rgba, width, height, 4)) {
    error = "cannot encode " + file.string();
    return false;
  }
  return writeBytes(file, bytes, error);
}

bool writeJpeg(const std::filesystem::path& file, const std::vector<uint8_t>& rgb, int width, int height,
               int quality, std::string& error) {
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool ok = encodeJpeg(&buffer, &size, rgb, width, height, quality);
  std::vector<uint8_t> bytes;
  if (ok) bytes.assign(buffer, buffer + size);
  std::free(buffer);
  if (!ok) {
    error = "cannot encode " + file.string();
    return false;
  }
  return writeBytes(file, bytes, error);
}

}  // namespace kelvox::demo
