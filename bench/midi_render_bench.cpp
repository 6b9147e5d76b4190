// MidiCrowdedInstantBlock: the processor time of one mixer block (256 frames, 5.8 ms of sound)
// of a piece whose note-ons all fall at one instant, the worst a file can ask of the
// synthesizer: each block sends its bounded share of them (MidiSynth::kFramesPerEvent) to a
// synthesizer whose voices are all sounding. A tick of 33 ms renders about six such blocks.
// MidiLoadLargestPiece: reading the largest piece the player takes (4 MiB of note-ons) into its
// timed sequence, which the engine thread does once when the piece is loaded.
#include <benchmark/benchmark.h>

#include <vector>

#include "sound/midi_synth.h"
#include "sound/mixer.h"
#include "sound/smf_sequence.h"
#include "sound/sound_files.h"

namespace {

using kelvox::sound::MidiSynth;
using kelvox::sound::Mixer;

// One track of [bytes] of note-ons at delta time 0 (running status, 3 bytes each).
std::vector<uint8_t> crowdedPiece(size_t bytes) {
  std::vector<uint8_t> track = {0x00, 0x90, 60, 64};
  for (uint8_t key = 0; track.size() + 3 < bytes - 30; ++key) track.insert(track.end(), {0x00, uint8_t(key & 0x7F), 64});
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
  for (char c : {'M', 'T', 'r', 'k'}) file.push_back(static_cast<uint8_t>(c));
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<uint8_t>(track.size() >> shift));
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

void MidiCrowdedInstantBlock(benchmark::State& state) {
  MidiSynth synth(kelvox::sound::findSoundFont(""));
  synth.load(crowdedPiece(kelvox::sound::kMaxMidiFileBytes - 64));
  synth.play(-1);
  std::vector<float> acc(Mixer::kBlockFrames * 2);
  for (int i = 0; i < 200; ++i) synth.mix(acc.data(), Mixer::kBlockFrames);  // every voice sounding
  for (auto _ : state) {
    synth.mix(acc.data(), Mixer::kBlockFrames);
    benchmark::DoNotOptimize(acc.data());
  }
}
BENCHMARK(MidiCrowdedInstantBlock)->Unit(benchmark::kMillisecond);

void MidiLoadLargestPiece(benchmark::State& state) {
  auto file = crowdedPiece(kelvox::sound::kMaxMidiFileBytes - 64);
  for (auto _ : state) benchmark::DoNotOptimize(kelvox::sound::readSmf(file, 44100));
}
BENCHMARK(MidiLoadLargestPiece)->Unit(benchmark::kMillisecond);

}  // namespace
