// A CD plays on its own drive, sound card or not. While nothing pulls the mixer (no sound
// device, or before the game's first SetScreenMode opens one), the CD stream is pulled here
// instead, on the engine thread in step with its clock, and its sound is dropped: tracks still
// end, post their notices and loop on time, silently.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvox::platform {
class Clock;
}

namespace kelvox::sound {

class CdStream;

class CdClockPull {
 public:
  explicit CdClockPull(platform::Clock& clock) : clock_(clock) {}

  // Once per tick on the engine thread. [stream]: the CD stream when no device pulls the
  // mixer, else null. Time counts from the first tick with a stream; a tick without one stops
  // the count, so the device and this never take the same frames.
  void update(CdStream* stream);

 private:
  platform::Clock& clock_;
  bool counting_ = false;
  uint32_t lastNow_ = 0;
  uint64_t elapsedMs_ = 0;  // since the count began; wraps of the 32-bit clock are counted through
  uint64_t pulled_ = 0;     // frames taken since then
  std::vector<float> scratch_;
};

}  // namespace kelvox::sound
