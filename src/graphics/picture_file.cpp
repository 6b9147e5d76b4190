// Reading a picture file once and decoding it by the format its bytes show.
#include "graphics/picture_file.h"

#include "common/fatal_error.h"
#include "graphics/image_format.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/png_decoder.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;

std::vector<uint8_t> readPictureFile(const platform::Paths& paths, std::string_view sjisPath, std::string_view sjisName) {
  platform::ReadFailure failure;
  auto bytes = paths.read(sjisPath, kMaxPictureFileBytes, &failure);
  if (bytes) return std::move(*bytes);
  if (failure.kind == platform::ReadFailure::Kind::TooLarge) raiseFatal(Fault::PictureDamaged, sjisName);
  raiseFatal(Fault::PictureOpen);
}

DecodedImage decodePicture(std::span<const uint8_t> bytes, std::string_view sjisName) {
  DecodedImage image;
  switch (detectImageFormatOfBytes(bytes)) {
    case ImageFormat::Jpeg: decodeJpegBytes(image, bytes, sjisName); break;
    case ImageFormat::Png: decodePngBytes(image, bytes, sjisName); break;
    case ImageFormat::None: raiseFatal(Fault::PictureDamaged, sjisName);
  }
  return image;
}

}  // namespace kelvox::graphics
