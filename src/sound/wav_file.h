// Reading a WAV file image: the canonical 44-byte layout the game's sounds use, with the two
// size clamps that let a file claiming more data than it holds play what it does hold.
//
//   offset  size  field                    use
//   0       4     "RIFF"                   checked
//   4       4     RIFF size                clamped to (file size − 8) when not below it
//   8       4     "WAVE"                   checked
//   12      4     "fmt "                   canonical layout: see below
//   16      4     format chunk size        canonical layout: 16
//   20      2     format tag               1 (PCM)
//   22      2     channels                 1 or 2
//   24      4     samples per second       100 … 200000
//   28      4     average bytes per second not used (derived from the others)
//   32      2     block alignment          channels × bits / 8
//   34      2     bits per sample          8 (unsigned) or 16 (signed)
//   36      4     "data"                   canonical layout: see below
//   40      4     data size                clamped to (RIFF size − 36) when not below it
//   44      …     sample data              little-endian
//
// All numbers are little-endian and compared unsigned. A file with "fmt " of 16 bytes at 12
// and "data" at 36 is read from the fixed offsets above. Any other layout (an 18-byte format
// chunk, a LIST chunk before the data) is read by walking its chunks instead, so the header
// bytes of such a file are never played as sound; a walk that finds no complete format chunk
// and no data chunk refuses the file. Formats a sound card cannot take (0 channels, a rate of
// 0, 12-bit samples, compressed data) are refused; the data is cut to whole frames.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kelvox::sound {

inline constexpr size_t kWavHeaderSize = 44;

struct WavFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
};

struct WavImage {
  WavFormat format;
  std::span<const uint8_t> data;  // inside the file image, whole frames only, never empty
};

// The format and sample data of the file image [file], or nullopt for a file the player
// refuses (too short, not RIFF/WAVE, no usable format or data).
std::optional<WavImage> readWav(std::span<const uint8_t> file);

}  // namespace kelvox::sound
