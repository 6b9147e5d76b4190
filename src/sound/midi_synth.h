// MidiSynth: the software synthesizer port behind the MIDI player, a FluidSynth synthesizer and
// Standard MIDI File player rendered inside the mixer's blocks. The player is timed by the
// samples the synthesizer renders (FluidSynth's "sample" timing source), so music advances
// exactly with the mixer, also on the headless device and the virtual clock.
//
// Threads: the engine thread loads, starts and stops; the device thread renders (mix). Both go
// through the synth's own lock, so FluidSynth is never used on two threads at once. Files are
// never read here: a piece arrives as bytes the engine has already read.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sound/mixer.h"

namespace kelvox::sound {

class MidiSynth final : public MixerStream {
 public:
  // A synthesizer at 44100 Hz with the SoundFont [soundFont] (read with the first piece) when it
  // can be read; without one it plays silence, which keeps a game without a SoundFont running. [ok] is false when
  // FluidSynth could not make a synthesizer at all.
  explicit MidiSynth(const std::string& soundFont);
  ~MidiSynth() override;
  MidiSynth(const MidiSynth&) = delete;
  MidiSynth& operator=(const MidiSynth&) = delete;

  bool ok() const { return synth_ != nullptr; }
  bool hasSoundFont() const { return soundFontId_ >= 0; }  // known once a piece was loaded

  // Replaces the piece by the Standard MIDI File [smf], stopped; false (no piece) when FluidSynth
  // refuses it. The bytes must have passed isStandardMidiFile.
  bool load(std::vector<uint8_t> smf);
  // Plays the piece from its beginning, [plays] times (−1: without end). False without a piece.
  bool play(int32_t plays);
  // Stops the piece at once and silences every note.
  void stop();
  void unload();
  bool isPlaying() const;
  // The synthesizer's master gain as a change from FluidSynth's default, in hundredths of a dB.
  void setGain(int32_t hundredthsDb);
  float gain() const;  // FluidSynth's gain factor, for tests

  void mix(float* acc, size_t frames) override;

 private:
  void unloadLocked();

  mutable std::mutex mutex_;
  void* settings_ = nullptr;  // fluid_settings_t
  void* synth_ = nullptr;     // fluid_synth_t
  void* player_ = nullptr;    // fluid_player_t, one per piece
  std::vector<uint8_t> piece_;
  std::string soundFont_;
  bool soundFontTried_ = false;  // engine thread only
  int soundFontId_ = -1;
  bool once_ = false;  // the piece plays once: it ends at its last tick
  float defaultGain_ = 0.2f;
  float scratch_[Mixer::kBlockFrames * 2] = {};
};

// True when [bytes] is a Standard MIDI File whose header and every chunk lie inside it, with
// format 0, 1 or 2, at least one track and a non-zero division. FluidSynth parses pieces while
// the device renders and only logs a damaged one, so pieces are checked before they get there.
bool isStandardMidiFile(const std::vector<uint8_t>& bytes);

// The SoundFont to use: [chosen] when not empty, else the first of Debian's General MIDI
// SoundFonts that exists ("" when none does).
std::string findSoundFont(const std::string& chosen);

}  // namespace kelvox::sound
