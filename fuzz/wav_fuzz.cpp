// The WAV loading path on arbitrary bytes: the reader, the conversion to the mixer's format,
// and a pull through the mixer. A refused file is fine; anything that reads or writes outside
// its buffers, or hangs, is not.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/mixer.h"
#include "sound/resample.h"
#include "sound/wav_file.h"

using namespace kelvox::sound;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto image = readWav({data, size});
  if (!image) return 0;
  // Keep each run small: sounds of more than a million output frames are only measured.
  uint64_t frames = image->data.size() / image->format.blockAlign;
  if (frames * 44100 / image->format.samplesPerSecond > 1000000) return 0;
  auto buffer = convertForMixer(*image);
  if (!buffer) return 0;
  Mixer mixer;
  mixer.setVoiceCount(1);
  mixer.setBuffer(0, std::move(buffer));
  mixer.setVoicePan(0, size > 0 ? static_cast<int32_t>(data[0]) * 80 - 10000 : 0);
  mixer.start(0, true);
  std::vector<int16_t> out(2 * 2048);
  mixer.render(out);
  return 0;
}
