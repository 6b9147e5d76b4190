// Sample format, channel and rate conversion of a loaded sound.
#include "sound/resample.h"

namespace kelvox::sound {

namespace {

// Sample [index] of the file data as a 16-bit value; 8-bit WAV samples are unsigned around 128.
int32_t sampleAt(const WavImage& image, size_t index) {
  if (image.format.bitsPerSample == 8) return (static_cast<int32_t>(image.data[index]) - 128) * 256;
  return static_cast<int16_t>(image.data[2 * index] | image.data[2 * index + 1] << 8);
}

}  // namespace

std::unique_ptr<PcmBuffer> convertForMixer(const WavImage& image) {
  const uint64_t channels = image.format.channels;
  const uint64_t inFrames = image.data.size() / image.format.blockAlign;
  const uint64_t rate = image.format.samplesPerSecond;
  const uint64_t outRate = platform::AudioDevice::kSampleRate;
  const uint64_t outFrames = (inFrames * outRate + rate - 1) / rate;

  if (outFrames > kMaxSoundFrames) return nullptr;

  auto buffer = std::make_unique<PcmBuffer>();
  buffer->samples.resize(outFrames * 2);
  int16_t* out = buffer->samples.data();
  for (uint64_t i = 0; i < outFrames; ++i) {
    uint64_t exact = i * rate;  // source position × outRate
    uint64_t at = exact / outRate;
    uint64_t next = at + 1 < inFrames ? at + 1 : at;  // the last frame holds
    int64_t frac = static_cast<int64_t>(exact % outRate);
    for (uint64_t side = 0; side < 2; ++side) {
      uint64_t c = channels == 1 ? 0 : side;
      int64_t a = sampleAt(image, at * channels + c), b = sampleAt(image, next * channels + c);
      out[2 * i + side] = static_cast<int16_t>(a + (b - a) * frac / static_cast<int64_t>(outRate));
    }
  }
  return buffer;
}

}  // namespace kelvox::sound
