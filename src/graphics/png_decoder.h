// DecodePng: a PNG file into a DecodedImage, through libpng. Only true-colour pictures are
// taken (colour types 2 and 6, 8 or 16 bits per sample): alpha is dropped, 16-bit samples keep
// their high byte. Transparency in patterns comes from the colour key alone.
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
// FatalError: 38 for a palette or greyscale picture, 17 naming [sjisName] for a damaged or
// truncated file or a picture over the size caps (decoded_image.h), 35 and 36 when libpng
// cannot set itself up. The first 8 bytes are taken as the signature without looking at them:
// the format was told from them already.
void decodePngBytes(DecodedImage& image, std::span<const uint8_t> file, std::string_view sjisName);

// The same for the file [sjisPath], read once through readPictureFile (37 when it cannot be).
void DecodePng(DecodedImage& image, const platform::Paths& paths, std::string_view sjisPath, std::string_view sjisName);

}  // namespace kelvox::graphics
