// The demo's sound effects, synthesised: a hover tick, a click, a cancel, a door, a chime and a
// loop of wind. Each is 16-bit mono at 22050 Hz and written as a canonical WAV file (the
// 44-byte header: "RIFF", "WAVE", a 16-byte "fmt " chunk, then "data").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::demo {

constexpr int kEffectRate = 22050;

struct Effect {
  std::string name;           // file name without ".wav"
  std::vector<int16_t> samples;
};

std::vector<Effect> makeEffects();

// The bytes of a canonical WAV file of [samples] (mono, 16-bit, [rate] Hz).
std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int rate);

}  // namespace kelvox::demo
