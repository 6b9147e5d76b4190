// MixerFourVoices: the cost of mixing the four WAV channels, all playing, with gains and pans
// set, in pulls of 1024 frames as the SDL device makes them. The counter "realtime" is the
// processor time spent per second of sound, so 10ms there is 1 % of one core.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "sound/mixer.h"

namespace {

using kelvox::sound::Mixer;
using kelvox::sound::PcmBuffer;

constexpr size_t kPull = 1024;  // frames per device pull

void MixerFourVoices(benchmark::State& state) {
  Mixer mixer;
  mixer.setVoiceCount(4);
  for (uint32_t v = 0; v < 4; ++v) {
    auto b = std::make_unique<PcmBuffer>();
    b->samples.resize(44100 * 2 * 10);  // 10 s, longer than any run of the benchmark plays
    for (size_t i = 0; i < b->samples.size(); ++i)
      b->samples[i] = static_cast<int16_t>(20000 * std::sin(0.01 * static_cast<double>(i) * (v + 1)));
    mixer.setBuffer(v, std::move(b));
    mixer.setVoiceGain(v, -300 * static_cast<int32_t>(v));
    mixer.setVoicePan(v, 2000 * static_cast<int32_t>(v) - 3000);
  }
  mixer.setMasterGain(-600);
  std::vector<int16_t> out(kPull * 2);
  size_t frames = 0;
  for (auto _ : state) {
    for (uint32_t v = 0; v < 4; ++v)
      if (!mixer.isPlaying(v)) mixer.start(v, true);
    mixer.render(out);
    benchmark::DoNotOptimize(out.data());
    frames += kPull;
  }
  // Seconds of sound mixed per iteration is kPull / 44100; the rate counter inverts it.
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames) / 44100.0,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(MixerFourVoices);

}  // namespace
