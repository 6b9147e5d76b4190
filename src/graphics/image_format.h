// Tells a picture file's format from its first text line, the way the game always has: the
// line is everything before the first CR, LF or zero byte. JPEG files carry FF D8 FF there,
// PNG files the "NG" of "\x89PNG".
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kelvox::platform {
class Paths;
}

namespace kelvox::graphics {

enum class ImageFormat {
  None,  // neither signature: no decoder takes the file
  Jpeg,
  Png,
};

// The format of the file [sjisPath] (an engine path such as "Grd\bg01.png"). Reads the first
// line and nothing after it, however long the file. A file that cannot be opened raises fatal
// error 37.
ImageFormat DetectImageFormat(const platform::Paths& paths, std::string_view sjisPath);

// The same decision for bytes in memory: [fileStart] is the file's beginning (the whole file
// or at least its first line).
ImageFormat detectImageFormatOfBytes(std::span<const uint8_t> fileStart);

// Incremental form of the rule, for reading a file in pieces: feed() each piece in order
// until done() is true, then ask result().
class FirstLineScanner {
 public:
  void feed(std::span<const uint8_t> piece);
  bool done() const { return ended_; }
  // JPEG if the line held FF D8 FF anywhere, else PNG if it held "NG", else None.
  ImageFormat result() const;

 private:
  bool ended_ = false;
  bool jpeg_ = false;
  bool png_ = false;
  uint8_t previous_[2] = {};  // the line's last two bytes so far, for a signature split by a piece
};

}  // namespace kelvox::graphics
