// WavPlayer: sound effects and voices on a fixed number of channels (four), each holding at
// most one sound. A channel remembers the file its sound came from, so playing that file
// again reuses the sound without reading the file. Looping is done here, not by the mixer: a
// looping channel that has stopped is started again once per engine tick (serviceLoops).
// There is a master volume and pan and one volume and pan per channel.
//
// The player owns the Mixer, and opens the audio device on it when it is initialised: the
// script's SetScreenMode does that, so until then there is no device(), channelCount() is 0 and
// every request is ignored. An audio device that cannot be opened leaves the player so for
// good, silent, as the original was without DirectSound.
//
// Script units: volumes 0 … 100, pans −100 … 100. The mixer's are hundredths of a dB:
// volume v → v × 30 − 3000 (100 is 0 dB, 0 is −30 dB); pan p → p × 100.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/mixer.h"
#include "sound/sound_files.h"

namespace kelvox::platform {
class AudioDevice;
class Paths;
class Window;
}  // namespace kelvox::platform

namespace kelvox::sound {

inline constexpr uint32_t kWavChannels = 4;

class WavPlayer {
 public:
  // The player of a run: sound comes out of [output]; files are read below [paths].
  WavPlayer(platform::AudioDevice& output, const platform::Paths& paths);
  ~WavPlayer();  // shutdown()
  WavPlayer(const WavPlayer&) = delete;
  WavPlayer& operator=(const WavPlayer&) = delete;

  // Reads files through [files] instead of the platform (tests); nullptr goes back.
  void useFiles(SoundFiles* files) { files_ = files ? files : &platformFiles_; }
  SoundFiles& files() { return *files_; }
  // The mixer behind device(), there for the whole life of the player.
  Mixer& mixer() { return mixer_; }
  // The mixer while the audio device pulls from it; else none.
  Mixer* device() const { return device_; }

  void attachWindow(platform::Window* form) { window_ = form; }
  // Opens the audio device on the mixer, resets the master volume to 100 and makes four
  // channels. Nothing when there is a device already. Returns 0, or 1 when there is no audio
  // device (the player then ignores every request).
  int initialise(platform::Window* windowHandle);
  // shutdown(), then initialise for the attached window.
  int reinitialise();
  // Replaces every channel by [n] empty ones (volume 100, pan 0, no file, not looping);
  // nothing without a device. Returns the previous count.
  uint32_t setChannelCount(uint32_t n);
  void releaseChannels();
  // Releases the channels and closes the audio device; the master volume and pan are kept.
  void shutdown();

  // Makes [path]'s sound the channel's; a channel that holds that file already keeps its
  // sound. False (the channel left empty) for a bad channel, an unreadable or refused file.
  bool load(uint32_t channel, const std::string& path);
  // Plays [path] on [channel] once from the beginning; [loop] ≠ 0 restarts it every tick it has
  // stopped (serviceLoops). Returns 0, or 1 when nothing could be started.
  int play(uint32_t channel, const std::string& path, int32_t loop);
  // Stops the channel where it is and ends its looping.
  void stop(uint32_t channel);
  int isPlaying(uint32_t channel);

  // Volumes are taken unsigned and capped at 100 (so −1 is 100); pans clamped to −100 … 100.
  void setMasterVolume(int32_t v);
  void setMasterPan(int32_t p);
  void setChannelVolume(uint32_t channel, int32_t v);
  void setChannelPan(uint32_t channel, int32_t p);

  // Once per engine tick, before the script runs: restarts every looping channel that has
  // stopped, from where the mixer left it (the beginning, after the end of the sound).
  void serviceLoops();

  int32_t masterVolume() const { return masterVolume_; }  // 0 … 100
  int32_t masterPan() const { return masterPan_; }        // −100 … 100
  uint32_t channelCount() const { return static_cast<uint32_t>(channels_.size()); }
  // What channel [c] holds; a channel out of range reads as an empty one.
  int32_t channelVolume(uint32_t c) const { return channel(c).volume; }
  int32_t channelPan(uint32_t c) const { return channel(c).pan; }
  const std::string& fileName(uint32_t c) const { return channel(c).fileName; }
  int32_t looping(uint32_t c) const { return channel(c).looping; }

 private:
  struct Channel {
    int32_t volume = 100;  // 0 … 100
    int32_t pan = 0;       // −100 … 100
    std::string fileName;  // the file the channel's sound came from; "" none
    int32_t looping = 0;   // ≠ 0: restart whenever stopped
  };
  const Channel& channel(uint32_t c) const;
  void applyChannel(uint32_t channel);

  Mixer* device_ = nullptr;
  int32_t masterVolume_ = 100;
  int32_t masterPan_ = 0;
  // One per mixer voice while there is a device; none without one.
  std::vector<Channel> channels_;
  platform::Window* window_ = nullptr;  // the main form (the original's cooperation window)
  platform::AudioDevice& output_;
  PlatformSoundFiles platformFiles_;
  SoundFiles* files_;
  Mixer mixer_;
};

// The script's volume and pan rules, and the mixer's units.
int32_t clampVolume(int32_t v);
int32_t clampPan(int32_t p);
inline int32_t volumeToGain(int32_t v) { return v * 30 - 3000; }  // hundredths of a dB
inline int32_t panToMixer(int32_t p) { return p * 100; }          // hundredths of a dB

}  // namespace kelvox::sound
