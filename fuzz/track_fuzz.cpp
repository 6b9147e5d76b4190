// A CD track's decoding on arbitrary bytes: libsndfile's readers of every format it knows and
// the conversion to stereo 44100 Hz frames. A refused file is fine; anything that reads or
// writes outside its buffers, or hangs, is not.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/cd/track_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kelvox::platform::TrackDecoder decoder(std::span<const uint8_t>(data, size));
  if (!decoder.isOpen()) return 0;
  // Keep each run small: a few seconds of sound at most are decoded.
  float out[2 * 4096];
  for (int i = 0; i < 64 && decoder.read(out, 4096) > 0; ++i) {
  }
  return 0;
}
