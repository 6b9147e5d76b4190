// Writing the generated assets: pictures as PNG (libpng) or JPEG (libjpeg), and plain byte
// files. Every writer reports failure by returning false with a reason; nothing exits.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvox::demo {

// [rgb]: width × height pixels of 3 bytes, rows top first.
bool writePng(const std::filesystem::path& file, const std::vector<uint8_t>& rgb, int width, int height,
              std::string& error);
// [rgba]: width × height pixels of 4 bytes, alpha not premultiplied.
bool writePngWithAlpha(const std::filesystem::path& file, const std::vector<uint8_t>& rgba, int width, int height,
                       std::string& error);
bool writeJpeg(const std::filesystem::path& file, const std::vector<uint8_t>& rgb, int width, int height,
               int quality, std::string& error);
bool writeBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace kelvox::demo
