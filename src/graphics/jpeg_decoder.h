// DecodeJpeg: a JPEG file into a DecodedImage, through libjpeg, at full size as 8-bit RGB
// (greyscale pictures come out grey; CMYK ones are refused as damaged).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "graphics/decoded_image.h"

namespace kelvox::platform {
class Paths;
}

namespace kelvox::graphics {

// Decodes the whole file [file], already in memory, into [image]. Every failure is a
// FatalError: 17 naming [sjisName] for a file libjpeg cannot decode, a truncated file, a
// picture over the size caps (decoded_image.h) or one of more than kMaxJpegScans scans.
void decodeJpegBytes(DecodedImage& image, std::span<const uint8_t> file, std::string_view sjisName);

// The same for the file [sjisPath], read once through readPictureFile (37 when it cannot be).
void DecodeJpeg(DecodedImage& image, const platform::Paths& paths, std::string_view sjisPath, std::string_view sjisName);

// A progressive picture has a handful of scans (ten for the usual script); a hostile one can
// have thousands of tiny scans, each costing a pass over the whole picture.
inline constexpr int kMaxJpegScans = 256;

}  // namespace kelvox::graphics
