// The CD-audio device's sound as one stream of the mixer, under the CD-audio gain: the one
// CD-audio volume control this system's mixer has, 0 … 65535, at full level (65535) when the
// game starts. The level is an amplitude factor, level / 65535: half the level is half the
// amplitude (about −6 dB), 0 is silence. The stream is not under the WAV master volume.
//
// Threads: mix runs on the device's thread inside the mixer's pull and reads only the level
// (atomic) and the CD device's lock-free ring; the engine thread sets the level and prepares.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/cd_device.h"
#include "sound/mixer.h"

namespace kelvox::sound {

class CdStream final : public MixerStream {
 public:
  static constexpr uint32_t kFullLevel = 65535;

  explicit CdStream(platform::CdDevice& device) : device_(device) {}

  // Device thread, inside the mixer's pull.
  void mix(float* acc, size_t frames) override {
    device_.mix(acc, frames, static_cast<float>(level_.load(std::memory_order_relaxed)) / kFullLevel);
  }
  void prepare(size_t frames) override { device_.prepare(frames); }

  uint32_t level() const { return level_.load(std::memory_order_relaxed); }
  // Levels above the full one are held to it.
  void setLevel(uint32_t level) { level_.store(level > kFullLevel ? kFullLevel : level, std::memory_order_relaxed); }

 private:
  platform::CdDevice& device_;
  std::atomic<uint32_t> level_{kFullLevel};
};

}  // namespace kelvox::sound
