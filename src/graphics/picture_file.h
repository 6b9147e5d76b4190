// A picture file read once and decoded from its bytes: the bounded reader takes the whole
// file, the first line of those bytes tells the format (image_format.h), and the decoder of
// that format works on the same bytes. Nothing opens the file a second time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "graphics/decoded_image.h"

namespace kelvox::platform {
class Paths;
}

namespace kelvox::graphics {

// The bytes of the picture file [sjisPath], on the host or a disc image (Paths). A file over
// kMaxPictureFileBytes raises 17 naming [sjisName] (no picture is that large) before anything
// is read; one that cannot be read raises 37.
std::vector<uint8_t> readPictureFile(const platform::Paths& paths, std::string_view sjisPath, std::string_view sjisName);

// The picture in [bytes], by the format of its first line: JPEG or PNG, with those decoders'
// errors; 17 naming [sjisName] for neither.
DecodedImage decodePicture(std::span<const uint8_t> bytes, std::string_view sjisName);

}  // namespace kelvox::graphics
