// Pulling streams by the clock, as a sound device would, and dropping what they give.
#include "sound/clock_pull.h"

#include <algorithm>

#include "platform/audio_device.h"
#include "sound/mixer.h"

namespace kelvox::sound {

void ClockPull::update(uint32_t now, std::span<MixerStream* const> streams) {
  if (streams.empty()) {
    counting_ = false;
    return;
  }
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
  scratch_.resize(Mixer::kBlockFrames * platform::AudioDevice::kChannels);
  while (pulled_ < due) {
    // A mixer block at a time, the most a stream is ever asked for.
    const size_t frames = static_cast<size_t>(std::min<uint64_t>(due - pulled_, Mixer::kBlockFrames));
    for (MixerStream* stream : streams) {
      std::fill(scratch_.begin(), scratch_.end(), 0.0f);
      stream->prepare(frames);
      stream->mix(scratch_.data(), frames);
    }
    pulled_ += frames;
  }
}

}  // namespace kelvox::sound
