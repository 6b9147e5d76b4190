// Writing a picture as a PNG file (screenshots): 8-bit RGB through libpng, written through an
// AtomicFile (atomic_file.h), so a failed write never leaves half a picture under the real
// name, and a target that is not a regular file (a link, a FIFO, a device) is refused.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kelvox::platform {

// Writes [width] × [height] pixels of [xrgb8888] (0x00RRGGBB, rows packed without padding) to
// [file]. False with the reason in [error] for an empty picture, a target that is not a regular
// file, or a file that cannot be written; nothing is left behind then.
bool writePngFile(const std::filesystem::path& file, const uint32_t* xrgb8888, int width, int height,
                  std::string& error);

}  // namespace kelvox::platform
