// MidiSynth: the software synthesizer port behind the MIDI player, a FluidSynth synthesizer
// rendered inside the mixer's blocks and driven by our own sequencer: a piece is read into a
// timed list of events when it is loaded (smf_sequence.h, on the engine thread), and mix sends
// the events that are due before each 64-frame step it renders. Music is timed by the frames
// rendered, so it advances exactly with the mixer, also on the headless device and the virtual
// clock.
//
// One render sends at most one event for every kFramesPerEvent frames it renders (5,512 events a
// second): a piece that crowds a million notes into one instant is played over the following
// blocks, late, instead of stalling the render, and with it the engine thread that waits for the
// synth's lock, for seconds. A note-on costs FluidSynth up to about 70 µs when all its voices
// sound, so a tick's events take at most about 13 ms; real music has a few hundred a second.
//
// Threads: the engine thread loads, starts and stops; the device thread renders (mix). Both go
// through the synth's own lock, so FluidSynth is never used on two threads at once, and the
// lock is never held longer than one bounded render. Files are never read here: a piece
// arrives as bytes the engine has already read.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sound/mixer.h"
#include "sound/smf_sequence.h"

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

  // One render sends at most one event for each kFramesPerEvent frames it renders.
  static constexpr size_t kFramesPerEvent = 8;
  // The frames between two sends of due events (FluidSynth's own block).
  static constexpr size_t kStepFrames = 64;

  // Replaces the piece by the Standard MIDI File [smf], stopped; false (no piece) when it cannot
  // be read as one. The bytes must have passed isStandardMidiFile.
  bool load(const std::vector<uint8_t>& smf);
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

  // Events of the piece not yet sent, for tests of the render's bound.
  size_t eventsPending() const;

 private:
  std::unique_ptr<SmfSequence> unloadLocked();  // the piece, to be freed outside the lock
  // Sends the piece's events due before [until] (frames from its start), at most [budget] of
  // them; returns how many it sent.
  size_t sendDue(uint64_t until, size_t budget);

  mutable std::mutex mutex_;
  void* settings_ = nullptr;  // fluid_settings_t
  void* synth_ = nullptr;     // fluid_synth_t
  std::unique_ptr<SmfSequence> piece_;
  size_t next_ = 0;        // the piece's next event to send
  uint64_t position_ = 0;  // frames rendered since the piece (or its repeat) began
  int32_t playsLeft_ = 0;  // plays after this one; −1 without end
  bool playing_ = false;
  std::string soundFont_;
  bool soundFontTried_ = false;  // engine thread only
  int soundFontId_ = -1;
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
