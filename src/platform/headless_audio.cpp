// Rendering the source in step with the clock.
#include "platform/headless_audio.h"

#include <algorithm>

#include "platform/clock.h"

namespace kelvox::platform {

namespace {
constexpr uint64_t kChunkFrames = 4096;  // rendered per call into the source
}

bool HeadlessAudio::open(AudioSource& source) {
  source_ = &source;
  lastNow_ = clock_.now();
  elapsedMs_ = 0;
  rendered_ = 0;
  return true;
}

void HeadlessAudio::update() {
  if (source_ == nullptr) return;
  uint32_t now = clock_.now();
  elapsedMs_ += static_cast<uint32_t>(now - lastNow_);  // wrap-safe
  lastNow_ = now;
  uint64_t due = elapsedMs_ * kSampleRate / 1000;
  while (rendered_ < due) {
    uint64_t frames = std::min(due - rendered_, kChunkFrames);
    scratch_.assign(frames * kChannels, 0);
    source_->prepare(frames);
    source_->render(scratch_);
    if (capture_) captured_.insert(captured_.end(), scratch_.begin(), scratch_.end());
    rendered_ += frames;
  }
}

}  // namespace kelvox::platform
