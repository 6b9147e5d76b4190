// The WAV reader: the canonical layout with its clamps, and the chunk walk for other layouts.
#include "sound/wav_file.h"

#include <algorithm>
#include <cstring>

namespace kelvox::sound {

namespace {

uint16_t le16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t le32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 | static_cast<uint32_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(b[at + 3]) << 24;
}
bool tagAt(std::span<const uint8_t> b, size_t at, const char* tag) { return std::memcmp(b.data() + at, tag, 4) == 0; }

WavFormat formatAt(std::span<const uint8_t> b, size_t at) {
  return {le16(b, at), le16(b, at + 2), le32(b, at + 4), le16(b, at + 12), le16(b, at + 14)};
}

// What a sound card takes: PCM, mono or stereo, 8 or 16 bits, a rate DirectSound allowed.
bool playable(const WavFormat& f) {
  return f.formatTag == 1 && (f.channels == 1 || f.channels == 2) && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
         f.samplesPerSecond >= 100 && f.samplesPerSecond <= 200000 &&
         f.blockAlign == f.channels * f.bitsPerSample / 8;
}

// The chunks from offset 12 up to the end of the RIFF data [end]: the first "fmt " of at least
// 16 bytes and the first "data" after it. A chunk running past [end] is cut at [end].
std::optional<WavImage> walkChunks(std::span<const uint8_t> file, size_t end) {
  std::optional<WavFormat> format;
  size_t at = 12;
  while (at + 8 <= end) {
    size_t size = le32(file, at + 4);
    size_t body = at + 8;
    size_t bodyEnd = body + std::min(size, end - body);
    if (tagAt(file, at, "fmt ") && !format) {
      if (bodyEnd - body < 16) return std::nullopt;
      format = formatAt(file, body);
    } else if (tagAt(file, at, "data")) {
      if (!format) return std::nullopt;
      return WavImage{*format, file.subspan(body, bodyEnd - body)};
    }
    at = bodyEnd + (size & 1);  // chunks are padded to even sizes
  }
  return std::nullopt;
}

}  // namespace

std::optional<WavImage> readWav(std::span<const uint8_t> file) {
  if (file.size() < kWavHeaderSize || !tagAt(file, 0, "RIFF") || !tagAt(file, 8, "WAVE")) return std::nullopt;
  // Both clamps as the original made them, unsigned.
  uint32_t riffSize = le32(file, 4);
  uint64_t fileSize = file.size();
  if (riffSize >= fileSize - 8) riffSize = static_cast<uint32_t>(std::min<uint64_t>(fileSize - 8, UINT32_MAX));

  std::optional<WavImage> image;
  if (tagAt(file, 12, "fmt ") && le32(file, 16) == 16 && tagAt(file, 36, "data")) {
    uint32_t dataSize = le32(file, 40);
    if (dataSize >= riffSize - 36) dataSize = riffSize - 36;
    // A RIFF size below 36 wraps the clamp's limit above; what lies in the file bounds it too.
    size_t present = std::min<uint64_t>(dataSize, fileSize - kWavHeaderSize);
    image = WavImage{formatAt(file, 20), file.subspan(kWavHeaderSize, present)};
  } else {
    image = walkChunks(file, std::min<uint64_t>(fileSize, uint64_t{riffSize} + 8));
  }
  if (!image || !playable(image->format)) return std::nullopt;
  size_t whole = image->data.size() / image->format.blockAlign * image->format.blockAlign;
  if (whole == 0) return std::nullopt;  // DirectSound had no empty buffers either
  image->data = image->data.first(whole);
  return image;
}

}  // namespace kelvox::sound
