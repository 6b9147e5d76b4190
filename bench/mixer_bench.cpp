// MixerFourVoices: the cost of mixing the four WAV channels, all playing, with gains and pans
// set, in pulls of 1024 frames as the SDL device makes them. The counter "realtime" is the
// processor time spent per second of sound, so 10ms there is 1 % of one core.
// MixerFourVoicesAndMidi: the same with the MIDI synthesizer rendering a looping piece of
// four-note chords (the General MIDI SoundFont; skipped without one).
// MixerFourVoicesMidiAndCd: and the CD stream playing a FLAC track, its decoding included: the
// headless device's prepare before each pull decodes what the pull takes.
// MixerCdTrack/raw and /flac: the CD stream alone, the same 30 s of sound played from a disc
// image's raw track (cue sheet, BINARY: read and converted, no decoding) or from a FLAC file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include <sndfile.h>

#include <filesystem>

#include "platform/cd/image_disc.h"
#include "platform/cd/track_cd_device.h"
#include "platform/volumes.h"
#include "sound/cd_stream.h"
#include "sound/midi_synth.h"
#include "sound/mixer.h"

namespace {

using kelvox::sound::Mixer;
using kelvox::sound::PcmBuffer;

constexpr size_t kPull = 1024;  // frames per device pull

// A piece of [bars] one-second bars, a four-note chord held through each (format 0, 96 ticks a
// quarter at 120 beats a minute, so 192 ticks a second).
std::vector<uint8_t> chordPiece(int bars) {
  std::vector<uint8_t> track;
  const uint8_t notes[4] = {48, 55, 60, 64};
  for (int b = 0; b < bars; ++b) {
    for (uint8_t n : notes) track.insert(track.end(), {0x00, 0x90, n, 0x60});
    track.insert(track.end(), {0x81, 0x40, 0x80, notes[0], 0x40});  // delta 192
    for (int i = 1; i < 4; ++i) track.insert(track.end(), {0x00, 0x80, notes[i], 0x40});
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> smf = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
  uint32_t n = static_cast<uint32_t>(track.size());
  smf.insert(smf.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
  smf.insert(smf.end(), track.begin(), track.end());
  return smf;
}

void fourVoices(Mixer& mixer) {
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
}

// [each] runs before every pull.
template <typename Each>
void mixFor(benchmark::State& state, Mixer& mixer, Each each) {
  std::vector<int16_t> out(kPull * 2);
  size_t frames = 0;
  for (auto _ : state) {
    for (uint32_t v = 0; v < 4; ++v)
      if (!mixer.isPlaying(v)) mixer.start(v, true);
    each();
    mixer.prepare(kPull);
    mixer.render(out);
    benchmark::DoNotOptimize(out.data());
    frames += kPull;
  }
  // Seconds of sound mixed per iteration is kPull / 44100; the rate counter inverts it.
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(frames) / 44100.0,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void MixerFourVoices(benchmark::State& state) {
  Mixer mixer;
  fourVoices(mixer);
  mixFor(state, mixer, [] {});
}
BENCHMARK(MixerFourVoices);

void MixerFourVoicesAndMidi(benchmark::State& state) {
  std::string soundFont = kelvox::sound::findSoundFont("");
  if (soundFont.empty()) {
    state.SkipWithError("no General MIDI SoundFont installed");
    return;
  }
  Mixer mixer;
  fourVoices(mixer);
  kelvox::sound::MidiSynth synth(soundFont);
  synth.load(chordPiece(8));
  synth.play(-1);
  mixer.addStream(&synth);
  mixFor(state, mixer, [] {});
  mixer.removeStream(&synth);
}
BENCHMARK(MixerFourVoicesAndMidi);

// A disc whose track 2 is 30 s of a chord, 16-bit stereo FLAC, as a rip of a CD would be.
struct BenchDisc {
  BenchDisc() : root(std::filesystem::temp_directory_path() / ("kelvox-bench-cd-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(root);
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open((root / "track02.flac").c_str(), SFM_WRITE, &info);
    std::vector<short> samples(44100 * 2 * 30);
    for (size_t i = 0; i < samples.size(); ++i) {
      double t = static_cast<double>(i / 2) / 44100;
      samples[i] = static_cast<short>(6000 * (std::sin(1382 * t) + std::sin(1742 * t) + std::sin(2073 * t)));
    }
    sf_writef_short(f, samples.data(), 44100 * 30);
    sf_close(f);
    // The same sound as a disc image's raw track 2, after a track 1 of one silent sector.
    FILE* bin = std::fopen((root / "disc.bin").c_str(), "wb");
    std::vector<char> data(2352, 0);
    std::fwrite(data.data(), 1, data.size(), bin);
    for (short s : samples) std::fputc(s & 0xFF, bin), std::fputc((s >> 8) & 0xFF, bin);
    std::fclose(bin);
    FILE* cue = std::fopen((root / "disc.cue").c_str(), "wb");
    std::fputs("FILE disc.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:00:01\n", cue);
    std::fclose(cue);
  }
  ~BenchDisc() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  std::filesystem::path root;
};

void MixerFourVoicesMidiAndCd(benchmark::State& state) {
  std::string soundFont = kelvox::sound::findSoundFont("");
  if (soundFont.empty()) {
    state.SkipWithError("no General MIDI SoundFont installed");
    return;
  }
  BenchDisc disc;
  kelvox::platform::FixedVolumes volumes({{'d', "BENCH", disc.root}});
  kelvox::platform::TrackCdDevice device(&volumes, kelvox::platform::TrackCdDevice::Feeding::OnPrepare);
  uint16_t id = 0;
  if (device.open("d:", id) != 0 || device.play(id, 2, std::nullopt, nullptr) != 0) {
    state.SkipWithError("the generated disc does not play");
    return;
  }
  Mixer mixer;
  fourVoices(mixer);
  kelvox::sound::MidiSynth synth(soundFont);
  synth.load(chordPiece(8));
  synth.play(-1);
  mixer.addStream(&synth);
  kelvox::sound::CdStream cd(device);
  cd.setLevel(40000);
  mixer.addStream(&cd);
  // The track lasts 1291 pulls; it starts again (from its file) before it ends.
  size_t pulls = 0;
  mixFor(state, mixer, [&] {
    if (++pulls % 1200 == 0) device.play(id, 2, std::nullopt, nullptr);
  });
  mixer.removeStream(&cd);
  mixer.removeStream(&synth);
}
BENCHMARK(MixerFourVoicesMidiAndCd);

void MixerCdTrack(benchmark::State& state) {
  BenchDisc disc;
  kelvox::platform::Volume volume{'d', "BENCH", disc.root};
  if (state.range(0) == 0) {
    std::string label, error;
    volume.root = disc.root / "disc.cue";
    volume.files = kelvox::platform::openImageDisc(volume.root, label, error);
  }
  kelvox::platform::FixedVolumes volumes({volume});
  kelvox::platform::TrackCdDevice device(&volumes, kelvox::platform::TrackCdDevice::Feeding::OnPrepare);
  uint16_t id = 0;
  if (device.open("d:", id) != 0 || device.play(id, 2, std::nullopt, nullptr) != 0) {
    state.SkipWithError("the generated disc does not play");
    return;
  }
  Mixer mixer;
  kelvox::sound::CdStream cd(device);
  cd.setLevel(40000);
  mixer.addStream(&cd);
  size_t pulls = 0;
  mixFor(state, mixer, [&] {
    if (++pulls % 1200 == 0) device.play(id, 2, std::nullopt, nullptr);
  });
  mixer.removeStream(&cd);
}
BENCHMARK(MixerCdTrack)->Arg(0)->Arg(1)->ArgName("flac");

}  // namespace
