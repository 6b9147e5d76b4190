// Feeds arbitrary bytes to the picture path: DetectImageFormat's first-line rule, then both
// decoders whatever the rule says. A decoder may only succeed with a picture inside the size
// caps, or raise a FatalError; anything else (a crash, a read outside a buffer, libjpeg's
// exit(), a huge allocation) is a finding. A decoded picture is also converted to 5:6:5 row by
// row, as the pattern store will do.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "common/fatal_error.h"
#include "graphics/decoded_image.h"
#include "graphics/image_format.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/pixel_row_ops.h"
#include "graphics/png_decoder.h"

namespace {

using namespace kelvox::graphics;

void check(const DecodedImage& image) {
  if (image.empty() || !imageSizeAllowed(image.width(), image.height()) || image.pitch() != image.width() * 4)
    std::abort();
  std::vector<uint16_t> row(size_t(image.width()));
  const PixelRowOps& ops = *pixelRowOpsFor(16);
  for (int32_t y = 0; y < image.height(); ++y) ops.ConvertRow(row.data(), image.firstRow() + y * image.pitch(), image.width());
}

template <typename Decode>
void tryDecode(Decode decode, std::span<const uint8_t> bytes) {
  DecodedImage image;
  try {
    decode(image, bytes, "fuzz");  // decoders succeed or raise
  } catch (const kelvox::common::FatalError&) {
    if (!image.empty()) std::abort();  // a failed decode leaves the image as it was
    return;
  }
  check(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  (void)detectImageFormatOfBytes(bytes);
  tryDecode(decodePngBytes, bytes);
  tryDecode(decodeJpegBytes, bytes);
  return 0;
}
