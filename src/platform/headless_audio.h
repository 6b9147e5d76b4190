// Sound output without a sound card: the source is rendered on the engine thread, in step with
// the engine's clock. The headless platform's device, and what a recording falls back to in a
// window without a sound card. update() renders every frame that is due since open: the clock's
// milliseconds since then × 44100 / 1000, counted from open so no rounding accumulates. Tests
// can keep what was rendered (capture); otherwise it is dropped.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/audio_device.h"

namespace kelvox::platform {

class Clock;

class HeadlessAudio final : public AudioDevice {
 public:
  explicit HeadlessAudio(Clock& clock) : clock_(clock) {}

  bool open(AudioSource& source) override;
  void close() override { source_ = nullptr; }
  bool isOpen() const override { return source_ != nullptr; }
  void update() override;

  // Frames rendered since open.
  uint64_t framesRendered() const { return rendered_; }
  // Keeps every rendered sample from now on (interleaved stereo), for tests.
  void setCapture(bool on) { capture_ = on; }
  const std::vector<int16_t>& captured() const { return captured_; }

 private:
  Clock& clock_;
  AudioSource* source_ = nullptr;
  uint32_t lastNow_ = 0;
  uint64_t elapsedMs_ = 0;  // since open; wraps of the 32-bit clock are counted through
  uint64_t rendered_ = 0;
  bool capture_ = false;
  std::vector<int16_t> captured_;
  std::vector<int16_t> scratch_;
};

}  // namespace kelvox::platform
