// PNG decoding with libpng. libpng reports errors by longjmp, so every libpng call runs inside
// one of two small functions (the header stage and the pixel stage) that hold no C++ objects:
// each sets its own jump point, and a jump unwinds only libpng's C frames back to it. The C++
// caller owns the buffers and the libpng structures around those stages and turns a failed
// stage into a FatalError after both are cleaned up.
#include "graphics/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "common/fatal_error.h"
#include "graphics/picture_file.h"
#include "platform/paths.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;

namespace {

constexpr size_t kSignatureBytes = 8;

// Everything the stages share, plain data only, since longjmp runs across it.
struct PngFrame {
  const uint8_t* data;
  size_t size;
  size_t offset;  // next byte libpng reads
  png_structp png;
  png_infop info;
  png_infop end;
  png_uint_32 width, height;
  int bitDepth, colourType;
  png_bytep* rows;  // row starts in the image, set between the stages
};

void readBytes(png_structp png, png_bytep out, size_t count) {
  auto* f = static_cast<PngFrame*>(png_get_io_ptr(png));
  if (count > f->size - f->offset) png_error(png, "unexpected end of file");
  std::memcpy(out, f->data + f->offset, count);
  f->offset += count;
}

// libpng's errors jump back to the stage; its warnings (a damaged ancillary chunk, which it then
// skips) change nothing in the picture and are dropped.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// Stage 1: the header. False if libpng found the file damaged.
bool readHeader(PngFrame* f) {
  if (setjmp(png_jmpbuf(f->png))) return false;
  png_set_read_fn(f->png, f, readBytes);
  png_set_sig_bytes(f->png, static_cast<int>(kSignatureBytes));
  png_set_user_limits(f->png, kMaxImageSide, kMaxImageSide);  // refused while reading the header
  png_read_info(f->png, f->info);
  int interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(f->png, f->info, &f->width, &f->height, &f->bitDepth, &f->colourType, &interlace, &compression,
               &filter);
  return true;
}

// Stage 2: every pixel, as blue, green, red, 0 straight into the rows, then the file's end.
bool readPixels(PngFrame* f) {
  if (setjmp(png_jmpbuf(f->png))) return false;
  if (f->colourType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(f->png);
  if (f->bitDepth == 16) png_set_strip_16(f->png);  // the high byte of each sample
  png_set_bgr(f->png);
  png_set_filler(f->png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(f->png);
  png_read_update_info(f->png, f->info);
  if (png_get_rowbytes(f->png, f->info) != size_t{f->width} * 4) png_error(f->png, "unexpected row size");
  png_read_image(f->png, f->rows);
  png_read_end(f->png, f->end);
  return true;
}

// The libpng structures of one decode, released whichever way it ends.
struct PngStructs {
  PngFrame* f;
  ~PngStructs() { png_destroy_read_struct(&f->png, &f->info, &f->end); }
};

}  // namespace

void decodePngBytes(DecodedImage& image, std::span<const uint8_t> file, std::string_view sjisName) {
  PngFrame f{};
  f.data = file.data();
  f.size = file.size();
  f.offset = kSignatureBytes;
  // The header of the libpng we were built with; libpng refuses a mismatched library itself.
  f.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
  if (!f.png) raiseFatal(Fault::DecoderStart);
  PngStructs structs{&f};
  f.info = png_create_info_struct(f.png);
  f.end = png_create_info_struct(f.png);
  if (!f.info || !f.end) raiseFatal(Fault::PictureDetails);
  if (file.size() < kSignatureBytes || !readHeader(&f)) raiseFatal(Fault::PictureDamaged, sjisName);

  if (f.colourType != PNG_COLOR_TYPE_RGB && f.colourType != PNG_COLOR_TYPE_RGB_ALPHA)
    raiseFatal(Fault::PictureFormat);  // palette, greyscale, greyscale with alpha
  if (!imageSizeAllowed(f.width, f.height)) raiseFatal(Fault::PictureDamaged, sjisName);

  DecodedImage decoded;
  decoded.allocate(static_cast<int32_t>(f.width), static_cast<int32_t>(f.height));
  std::vector<png_bytep> rows(f.height);
  for (png_uint_32 y = 0; y < f.height; ++y) rows[y] = decoded.PixelAddress(0, static_cast<int32_t>(y));
  f.rows = rows.data();
  if (!readPixels(&f)) raiseFatal(Fault::PictureDamaged, sjisName);
  image = std::move(decoded);
}

void DecodePng(DecodedImage& image, const platform::Paths& paths, std::string_view sjisPath, std::string_view sjisName) {
  decodePngBytes(image, readPictureFile(paths, sjisPath, sjisName), sjisName);
}

}  // namespace kelvox::graphics
