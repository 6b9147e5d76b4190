// MidiPlayer: background music, one Standard MIDI File at a time from Midi\, played once or
// without end, with one synthesizer volume. The synthesizer (MidiSynth) is the player's port:
// initialise makes it and adds it to the WAV player's mixer, shutdown takes it out and ends it.
//
// Without a mixer (before the script's first SetScreenMode opens the WAV player's device) the
// port exists but nothing renders it: a piece started then waits, silent, until a mixer pulls.
//
// Script volume v (0 … 100, taken unsigned, so negatives are 100) → v × 220 − 20000 hundredths
// of a dB on the synthesizer, relative to FluidSynth's default gain.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kelvox::sound {

class Mixer;
class MidiSynth;
class SoundFiles;

class MidiPlayer {
 public:
  // Pieces are read through [files]; [soundFont] is the SoundFont file ("" plays silence).
  MidiPlayer(SoundFiles& files, std::string soundFont);
  ~MidiPlayer();  // shutdown()
  MidiPlayer(const MidiPlayer&) = delete;
  MidiPlayer& operator=(const MidiPlayer&) = delete;

  void useFiles(SoundFiles& files) { files_ = &files; }
  SoundFiles& files() { return *files_; }

  // shutdown(), then a new port rendered into [device] (the WAV player's mixer, or none).
  // Returns 0, or 1 when FluidSynth cannot make a synthesizer.
  int initialise(Mixer* device);
  // Stops and releases the piece and the port. fileName() is kept.
  void shutdown();
  // Reads [path] (Shift-JIS engine name) and makes it the piece, stopped. Returns 0, or 1 (no
  // piece) without a port, for an unreadable or damaged file, or a path of 260 bytes or more.
  int loadSegment(const std::string& path);
  // Plays [path] [repeats] more times after the first (−1: without end). The piece playing
  // already, named the same in any letter case, goes on untouched. Returns 0, or 1.
  int play(const std::string& path, int32_t repeats);
  void stop();
  bool isPlaying() const;
  // fileName() while a piece plays, else none.
  std::optional<std::string> currentName() const;
  // Nothing at all without a port; else clamps and keeps v and sets the synthesizer's gain.
  void setVolume(int32_t v);

  int32_t volume() const { return volume_; }  // 0 … 100, the last volume set
  // The last piece loaded (kept through shutdown); "" at first.
  const std::string& fileName() const { return fileName_; }
  MidiSynth* port() const { return port_.get(); }

 private:
  int32_t volume_ = 100;
  std::string fileName_;
  SoundFiles* files_;
  std::string soundFont_;
  std::unique_ptr<MidiSynth> port_;
  Mixer* device_ = nullptr;
  bool segment_ = false;  // a piece is loaded
};

// The synthesizer's change of gain for script volume [v], in hundredths of a dB.
int32_t midiVolumeToGain(int32_t v);

}  // namespace kelvox::sound
