// The mixer's arithmetic, measured on its output: gains and pans in decibels, how voice and
// master combine, saturation, and a voice's end.
#include "sound/mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kelvox::sound {
namespace {

constexpr size_t kFrames = 4410;  // 0.1 s: exactly 100 periods of 1 kHz

// A 1 kHz sine at full scale (amplitude 32767) on both sides.
std::unique_ptr<PcmBuffer> fullScaleTone() {
  auto b = std::make_unique<PcmBuffer>();
  for (size_t i = 0; i < kFrames; ++i) {
    auto s = static_cast<int16_t>(std::lround(32767.0 * std::sin(2 * std::numbers::pi * 1000.0 * i / 44100.0)));
    b->samples.push_back(s);
    b->samples.push_back(s);
  }
  return b;
}

// Level of one side of [out] relative to the full-scale sine (RMS 32767 / √2), in dB.
double levelDb(const std::vector<int16_t>& out, int side) {
  double sum = 0;
  for (size_t i = side; i < out.size(); i += 2) sum += double(out[i]) * out[i];
  double rms = std::sqrt(sum / (out.size() / 2));
  return 20 * std::log10(rms / (32767.0 / std::sqrt(2.0)));
}

TEST(Mixer, GainsAndPansComeOutInDecibels) {
  struct Case {
    const char* what;
    int32_t voiceGain, voicePan, masterGain, masterPan;
    double left, right;  // dB expected
  } cases[] = {
      {"channel volume 50: 50 × 30 − 3000 = −1500", -1500, 0, 0, 0, -15, -15},
      {"master and channel add in dB", -900, 0, -600, 0, -15, -15},
      {"pan right 50 turns the left 50 dB down", 0, 5000, 0, 0, -50, 0},
      {"pan left 30 turns the right 30 dB down", 0, -3000, 0, 0, 0, -30},
      {"voice pan and master pan add", 0, 2000, -1000, 1000, -40, -10},
      {"volume 0 is 30 dB down", -3000, 0, 0, 0, -30, -30},
  };
  for (const Case& c : cases) {
    Mixer mixer;
    mixer.setVoiceCount(1);
    mixer.setBuffer(0, fullScaleTone());
    mixer.setVoiceGain(0, c.voiceGain);
    mixer.setVoicePan(0, c.voicePan);
    mixer.setMasterGain(c.masterGain);
    mixer.setMasterPan(c.masterPan);
    mixer.start(0, true);
    std::vector<int16_t> out(kFrames * 2);
    mixer.render(out);
    EXPECT_NEAR(levelDb(out, 0), c.left, 0.1) << c.what;
    EXPECT_NEAR(levelDb(out, 1), c.right, 0.1) << c.what;
  }
}

TEST(Mixer, FullPanSilencesTheOtherSideBy100Decibels) {
  // 100 dB down is a factor 10^(−100/20) = 1e−5: a full-scale sample becomes 0.33, so nothing.
  EXPECT_NEAR(Mixer::sideGains(0, 10000).left, 1e-5, 1e-9);
  EXPECT_NEAR(Mixer::sideGains(0, -10000).right, 1e-5, 1e-9);
  Mixer mixer;
  mixer.setVoiceCount(1);
  mixer.setBuffer(0, fullScaleTone());
  mixer.setVoicePan(0, 10000);
  mixer.start(0, true);
  std::vector<int16_t> out(kFrames * 2);
  mixer.render(out);
  for (size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], 0) << "left frame " << i / 2;
  EXPECT_NEAR(levelDb(out, 1), 0, 0.1);
}

TEST(Mixer, LoudMixesSaturateInsteadOfWrapping) {
  struct Case {
    int16_t value;
    int16_t expected;  // three voices: 3 × value, held to the 16-bit range
  } cases[] = {{30000, 32767}, {-30000, -32768}, {10000, 30000}, {-11000, -32768}};
  for (const Case& c : cases) {
    Mixer mixer;
    mixer.setVoiceCount(3);
    for (uint32_t v = 0; v < 3; ++v) {
      auto b = std::make_unique<PcmBuffer>();
      b->samples.assign(64, c.value);
      mixer.setBuffer(v, std::move(b));
      mixer.start(v, true);
    }
    std::vector<int16_t> out(64);
    mixer.render(out);
    EXPECT_EQ(out[0], c.expected) << c.value;
    EXPECT_EQ(out[63], c.expected) << c.value;
  }
}

TEST(Mixer, AVoicePlaysOnceStopsWhereStoppedAndRestartsAfterItsEnd) {
  Mixer mixer;
  mixer.setVoiceCount(1);
  auto ramp = std::make_unique<PcmBuffer>();
  for (int16_t i = 1; i <= 100; ++i) ramp->samples.insert(ramp->samples.end(), {i, i});
  mixer.setBuffer(0, std::move(ramp));
  std::vector<int16_t> out(20);  // 10 frames
  mixer.render(out);
  EXPECT_EQ(out[0], 0) << "a loaded voice is silent until started";
  mixer.start(0, true);
  mixer.render(out);
  EXPECT_EQ(out[0], 1);
  mixer.stop(0);
  mixer.start(0, false);  // stop does not rewind
  mixer.render(out);
  EXPECT_EQ(out[0], 11);
  std::vector<int16_t> rest(2 * 200);
  mixer.render(rest);  // frames 21 … 100, then silence
  EXPECT_EQ(rest[2 * 79], 100);
  EXPECT_EQ(rest[2 * 80], 0);
  EXPECT_FALSE(mixer.isPlaying(0));
  mixer.start(0, false);  // after the end: from the beginning
  mixer.render(out);
  EXPECT_EQ(out[0], 1);
}

}  // namespace
}  // namespace kelvox::sound
