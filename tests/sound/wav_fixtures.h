// Tiny WAV files made by the tests, and a SoundFiles that serves them from memory and counts
// the reads.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sound/sound_files.h"

namespace kelvox::test {

struct WavShape {
  uint16_t formatTag = 1;
  uint16_t channels = 1;
  uint32_t rate = 44100;
  uint16_t bits = 16;
  uint32_t dataSizeField = UINT32_MAX;  // UINT32_MAX: the real size
  uint32_t riffSizeField = UINT32_MAX;
};

// A canonical 44-byte-header file with [data] as its sample bytes.
inline std::string makeWav(const WavShape& s, const std::string& data) {
  std::string b;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto u16 = [&](uint16_t v) {
    b.push_back(static_cast<char>(v));
    b.push_back(static_cast<char>(v >> 8));
  };
  uint16_t align = static_cast<uint16_t>(s.channels * s.bits / 8);
  b += "RIFF";
  u32(s.riffSizeField != UINT32_MAX ? s.riffSizeField : static_cast<uint32_t>(36 + data.size()));
  b += "WAVEfmt ";
  u32(16);
  u16(s.formatTag);
  u16(s.channels);
  u32(s.rate);
  u32(s.rate * align);
  u16(align);
  u16(s.bits);
  b += "data";
  u32(s.dataSizeField != UINT32_MAX ? s.dataSizeField : static_cast<uint32_t>(data.size()));
  return b + data;
}

// [frames] 16-bit samples of value [value] (mono).
inline std::string constantPcm16(size_t frames, int16_t value) {
  std::string d;
  for (size_t i = 0; i < frames; ++i) {
    d.push_back(static_cast<char>(value & 0xFF));
    d.push_back(static_cast<char>((value >> 8) & 0xFF));
  }
  return d;
}

class FakeSoundFiles final : public sound::SoundFiles {
 public:
  std::map<std::string, std::string> files;  // Shift-JIS name → bytes
  std::map<std::string, int> reads;

  bool exists(std::string_view name) override { return files.count(std::string(name)) != 0; }
  std::optional<std::vector<uint8_t>> read(std::string_view name, uint64_t maxBytes) override {
    ++reads[std::string(name)];
    auto it = files.find(std::string(name));
    if (it == files.end() || it->second.size() > maxBytes) return std::nullopt;
    return std::vector<uint8_t>(it->second.begin(), it->second.end());
  }
  int totalReads() const {
    int n = 0;
    for (const auto& [name, count] : reads) n += count;
    return n;
  }
};

}  // namespace kelvox::test
