// Test pictures made with libpng's and libjpeg's own writers, and the pieces for damaging them
// by hand (PNG chunks with their CRCs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::graphics::test {

using Bytes = std::vector<uint8_t>;

// The sample of channel [c] at ([x], [y]) for a picture of [bitDepth]: spread over the whole
// range so that high and low bytes of 16-bit samples differ.
uint16_t sampleAt(int x, int y, int c, int bitDepth);

// A PNG of [width] × [height] with sampleAt() in every channel of [colourType] (0, 2, 3, 4, 6;
// type 3 uses an 8-bit palette whose entry i is (i, 255 - i, i * 3)).
Bytes writePng(int width, int height, int colourType, int bitDepth, bool interlaced);

// A chunk: length, [type], [data], CRC.
Bytes pngChunk(const std::string& type, const Bytes& data);
// The 8 signature bytes followed by an IHDR for [width] × [height], 8-bit RGB.
Bytes pngHeaderOnly(uint32_t width, uint32_t height);

// A JPEG of [width] × [height] with RGB (x * 4, y * 4, 128 + x - y) clamped, at quality 95
// without chroma subsampling; [greyscale] writes one channel of (x + y) * 2 instead.
Bytes writeJpeg(int width, int height, bool progressive, bool greyscale = false);
uint32_t jpegColourAt(int x, int y);  // 0x00RRGGBB as written above

}  // namespace kelvox::graphics::test
