// The MIDI loading path on arbitrary bytes: the Standard MIDI File check, then, for what passes
// it, FluidSynth's player taking the piece and parsing it in the first blocks rendered. No
// SoundFont: the parse and the player's timing are what is exercised, not the voices.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/midi_synth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kelvox::sound::MidiSynth synth("");
  std::vector<uint8_t> bytes(data, data + size);
  if (!kelvox::sound::isStandardMidiFile(bytes)) return 0;
  if (!synth.load(std::move(bytes))) return 0;
  synth.play(1);
  float acc[kelvox::sound::Mixer::kBlockFrames * 2] = {};
  // About 0.4 s of music: the parse, then a stretch of the events.
  for (int block = 0; block < 64; ++block) synth.mix(acc, kelvox::sound::Mixer::kBlockFrames);
  synth.isPlaying();
  synth.unload();
  return 0;
}
