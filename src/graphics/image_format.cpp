// The first-line format test, over a file read in pieces or over bytes in memory.
#include "graphics/image_format.h"

#include "common/fatal_error.h"
#include "platform/file_reader.h"
#include "platform/paths.h"

namespace kelvox::graphics {

void FirstLineScanner::feed(std::span<const uint8_t> piece) {
  for (uint8_t b : piece) {
    if (ended_) return;
    if (b == '\r' || b == '\n' || b == 0) {
      ended_ = true;
      return;
    }
    // With the two bytes before [b]: FF D8 FF ends here, or "NG" does. The line holds no zero
    // byte, so the zeros that previous_ starts with never match.
    if (b == 0xFF && previous_[0] == 0xFF && previous_[1] == 0xD8) jpeg_ = true;
    if (b == 'G' && previous_[1] == 'N') png_ = true;
    previous_[0] = previous_[1];
    previous_[1] = b;
  }
}

ImageFormat FirstLineScanner::result() const {
  if (jpeg_) return ImageFormat::Jpeg;
  if (png_) return ImageFormat::Png;
  return ImageFormat::None;
}

ImageFormat detectImageFormatOfBytes(std::span<const uint8_t> fileStart) {
  FirstLineScanner scanner;
  scanner.feed(fileStart);
  return scanner.result();
}

ImageFormat DetectImageFormat(const platform::Paths& paths, std::string_view sjisPath) {
  std::unique_ptr<platform::FileReader> reader = paths.openReader(sjisPath);
  platform::FileReader& file = *reader;
  if (!file.isOpen()) common::raiseFatal(common::Fault::PictureOpen);
  // Small pieces: a picture's signature line is a few bytes long, and a file whose first line
  // runs on is read only as far as that line goes.
  uint8_t piece[64];
  FirstLineScanner scanner;
  while (!scanner.done()) {
    size_t n = file.read(piece);
    if (n == 0) break;  // the end of the file (or a read error) ends the line
    scanner.feed({piece, n});
  }
  return scanner.result();
}

}  // namespace kelvox::graphics
