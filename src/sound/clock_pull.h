// Streams that keep their time without a sound device. A CD plays on its own drive, and a
// piece of music has its length, sound card or not; but while nothing pulls the mixer (no
// sound device, or before the game's first SetScreenMode opens one) they would stand still,
// and a script waiting for their end would wait for ever. So the host pulls them here
// instead, on the engine thread in step with its clock, and drops their sound: tracks and
// pieces end, post their notices and loop on time, silently.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kelvox::sound {

class MixerStream;

class ClockPull {
 public:
  // Once per tick on the engine thread, at the clock's time [now], with the streams no device
  // pulls now (none while a device pulls the mixer). Time counts from the first tick with
  // streams; a tick without them stops the count, so the device and this never take the same
  // frames.
  void update(uint32_t now, std::span<MixerStream* const> streams);

 private:
  bool counting_ = false;
  uint32_t lastNow_ = 0;
  uint64_t elapsedMs_ = 0;  // since the count began; wraps of the 32-bit clock are counted through
  uint64_t pulled_ = 0;     // frames taken since then
  std::vector<float> scratch_;
};

}  // namespace kelvox::sound
