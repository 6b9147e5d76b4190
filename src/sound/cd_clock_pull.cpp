// Pulling the CD stream by the clock, as a sound device would, and dropping what it gives.
#include "sound/cd_clock_pull.h"

#include <algorithm>

#include "platform/audio_device.h"
#include "platform/clock.h"
#include "sound/cd_stream.h"

namespace kelvox::sound {

namespace {
constexpr uint64_t kChunkFrames = 4096;  // taken per call into the stream
}

void CdClockPull::update(CdStream* stream) {
  if (stream == nullptr) {
    counting_ = false;
    return;
  }
  uint32_t now = clock_.now();
  if (!counting_) {
    counting_ = true;
    lastNow_ = now;
    elapsedMs_ = 0;
    pulled_ = 0;
    return;
  }
  elapsedMs_ += static_cast<uint32_t>(now - lastNow_);  // wrap-safe
  lastNow_ = now;
  const uint64_t due = elapsedMs_ * platform::AudioDevice::kSampleRate / 1000;
  while (pulled_ < due) {
    const size_t frames = static_cast<size_t>(std::min(due - pulled_, kChunkFrames));
    scratch_.assign(frames * platform::AudioDevice::kChannels, 0.0f);
    stream->prepare(frames);
    stream->mix(scratch_.data(), frames);
    pulled_ += frames;
  }
}

}  // namespace kelvox::sound
