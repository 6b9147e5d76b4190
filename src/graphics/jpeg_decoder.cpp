// JPEG decoding with libjpeg. libjpeg's error_exit must not return, so ours longjmps; every
// libjpeg call runs inside one of two small functions (the header stage and the pixel stage)
// that hold no C++ objects and set the jump point, so a jump unwinds only libjpeg's C frames.
// The C++ caller owns the buffers around those stages, always destroys the decompressor, and
// turns a failed stage into a FatalError. Nothing is printed and nothing exits.
#include "graphics/jpeg_decoder.h"

#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE declared; no file is opened here
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <memory>
#include <vector>

#include "common/fatal_error.h"
#include "graphics/picture_file.h"
#include "platform/paths.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;

namespace {

// Everything the stages share, plain data only, since longjmp runs across it.
struct JpegFrame {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  bool truncated;  // libjpeg met the end of the data early and made up the rest
  uint8_t* pixels;  // the image's first row, set between the stages
  JSAMPROW row;     // one scanline of RGB, set between the stages
};

JpegFrame* frameOf(j_common_ptr cinfo) { return static_cast<JpegFrame*>(cinfo->client_data); }

[[noreturn]] void onError(j_common_ptr cinfo) { std::longjmp(frameOf(cinfo)->jump, 1); }

// Warnings (level -1) and traces: only a premature end of the data matters; libjpeg would go on
// with grey, and a truncated picture is a damaged one.
void onMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) frameOf(cinfo)->truncated = true;
}

void onOutput(j_common_ptr) {}

void onProgress(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxJpegScans) std::longjmp(frameOf(cinfo)->jump, 1);
}

// Stage 1: the header, with the output set to RGB at full size. False if libjpeg gave up.
bool readHeader(JpegFrame* f, const uint8_t* data, size_t size) {
  if (setjmp(f->jump)) return false;
  jpeg_create_decompress(&f->cinfo);
  f->cinfo.client_data = f;
  f->cinfo.progress = &f->progress;
  jpeg_mem_src(&f->cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&f->cinfo, TRUE);
  f->cinfo.out_color_space = JCS_RGB;
  f->cinfo.scale_num = 1;
  f->cinfo.scale_denom = 1;
  jpeg_calc_output_dimensions(&f->cinfo);
  return true;
}

// Stage 2: every scanline, widened to blue, green, red, 0.
bool readPixels(JpegFrame* f) {
  if (setjmp(f->jump)) return false;
  jpeg_start_decompress(&f->cinfo);
  if (f->cinfo.output_components != 3) return false;
  const JDIMENSION width = f->cinfo.output_width;
  while (f->cinfo.output_scanline < f->cinfo.output_height) {
    uint8_t* out = f->pixels + size_t{f->cinfo.output_scanline} * width * 4;
    if (jpeg_read_scanlines(&f->cinfo, &f->row, 1) != 1) return false;
    for (JDIMENSION x = 0; x < width; ++x) {
      out[4 * x] = f->row[3 * x + 2];
      out[4 * x + 1] = f->row[3 * x + 1];
      out[4 * x + 2] = f->row[3 * x];
      out[4 * x + 3] = 0;
    }
  }
  jpeg_finish_decompress(&f->cinfo);
  return true;
}

// The decompressor of one decode, destroyed whichever way it ends (safe on a zeroed one).
struct JpegDecompressor {
  JpegFrame* f;
  ~JpegDecompressor() { jpeg_destroy_decompress(&f->cinfo); }
};

}  // namespace

void decodeJpegBytes(DecodedImage& image, std::span<const uint8_t> file, std::string_view sjisName) {
  auto f = std::make_unique<JpegFrame>();  // zeroed: the decompressor may be destroyed unused
  f->cinfo.err = jpeg_std_error(&f->errors);
  f->errors.error_exit = onError;
  f->errors.emit_message = onMessage;
  f->errors.output_message = onOutput;
  f->progress.progress_monitor = onProgress;
  f->cinfo.client_data = f.get();
  JpegDecompressor decompressor{f.get()};

  if (file.empty() || !readHeader(f.get(), file.data(), file.size())) raiseFatal(Fault::PictureDamaged, sjisName);
  const JDIMENSION width = f->cinfo.output_width, height = f->cinfo.output_height;
  if (!imageSizeAllowed(width, height)) raiseFatal(Fault::PictureDamaged, sjisName);

  DecodedImage decoded;
  decoded.allocate(static_cast<int32_t>(width), static_cast<int32_t>(height));
  std::vector<JSAMPLE> row(size_t{width} * 3);
  f->pixels = decoded.firstRow();
  f->row = row.data();
  if (!readPixels(f.get()) || f->truncated) raiseFatal(Fault::PictureDamaged, sjisName);
  image = std::move(decoded);
}

void DecodeJpeg(DecodedImage& image, const platform::Paths& paths, std::string_view sjisPath, std::string_view sjisName) {
  decodeJpegBytes(image, readPictureFile(paths, sjisPath, sjisName), sjisName);
}

}  // namespace kelvox::graphics
