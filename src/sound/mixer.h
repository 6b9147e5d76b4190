// Mixer: the engine's stand-in for DirectSound's primary and secondary buffers. It holds one
// voice per WAV channel, each a sound already converted to the output format (44100 Hz,
// stereo, 16-bit), with its own gain and pan, and mixes them under a master gain and pan into
// what the audio device pulls. Output saturates at the 16-bit limits; it never wraps.
//
// Units, as DirectSound has them: gain in hundredths of a decibel (0 = unchanged, −10000 =
// 100 dB down); pan p in hundredths of a decibel too, p > 0 attenuating the left side by p,
// p < 0 the right side by −p (−10000 … 10000). Gains of voice, voice pan, master and master
// pan add in decibels.
//
// Threads: the engine thread changes the voices, always under the mixer's lock; render runs on
// the device's thread (SDL's audio thread, or the engine thread for the headless device) and
// takes the same lock. render neither allocates nor touches files: buffers are built before
// they are handed over, and the ones replaced are freed on the engine thread after the lock is
// released. The MIDI synthesizer and the CD stream are MixerStreams added to the same blocks
// after the voices; the synthesizer takes its own lock inside mix, always after the mixer's.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio_device.h"

namespace kelvox::sound {

// A sound in the output format: interleaved stereo frames at 44100 Hz.
struct PcmBuffer {
  std::vector<int16_t> samples;  // left, right, left, right, …
  size_t frames() const { return samples.size() / 2; }
};

// A source of sound computed while the mixer renders (the MIDI synthesizer). mix adds [frames]
// interleaved stereo frames, full scale ±1.0, to [acc]; frames is at most Mixer::kBlockFrames.
// It runs on the device's thread under the mixer's lock: no allocation, no files, no waiting
// beyond the stream's own short lock.
class MixerStream {
 public:
  virtual ~MixerStream() = default;
  virtual void mix(float* acc, size_t frames) = 0;
  // Engine thread, outside the mixer's lock, before a render of [frames] frames on that thread
  // (AudioSource::prepare): a stream that streams from a file decodes what the render takes.
  virtual void prepare(size_t /*frames*/) {}
};

class Mixer final : public platform::AudioSource {
 public:
  static constexpr size_t kBlockFrames = 256;
  static constexpr int32_t kSilence = -10000;  // hundredths of a dB: the lowest gain and pan step

  Mixer() = default;
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Replaces every voice by [count] empty ones (no buffer, gain 0, pan 0, stopped).
  void setVoiceCount(uint32_t count);
  uint32_t voiceCount() const;

  // Gives [voice] the sound [buffer] (stopped, at position 0), or empties it (nullptr). Voices
  // out of range are ignored here and in every call below.
  void setBuffer(uint32_t voice, std::unique_ptr<PcmBuffer> buffer);
  bool hasBuffer(uint32_t voice) const;

  // Starts [voice] from where it is (the start after the end is the start of the sound);
  // [fromStart] moves it to the beginning first. Nothing for a voice without a buffer.
  void start(uint32_t voice, bool fromStart);
  // Stops [voice] where it is, without rewinding.
  void stop(uint32_t voice);
  // A voice plays until stopped or until its sound ends; then it is back at the beginning.
  bool isPlaying(uint32_t voice) const;

  void setVoiceGain(uint32_t voice, int32_t gain);  // hundredths of a dB, −10000 … 0
  void setVoicePan(uint32_t voice, int32_t pan);    // hundredths of a dB, −10000 … 10000
  void setMasterGain(int32_t gain);
  void setMasterPan(int32_t pan);

  // Adds [stream] to the mix (not under the master gain or pan: the WAV player's master volume
  // is the WAV channels'), or takes it out; it must stay alive until removed. Engine thread.
  void addStream(MixerStream* stream);
  void removeStream(MixerStream* stream);

  // Mixes the next out.size() / 2 frames. Device thread; see above.
  void render(std::span<int16_t> out) override;
  // Passes the headless device's prepare on to the streams (engine thread, which alone
  // changes the list of streams, so it is read here without the lock).
  void prepare(size_t frames) override;

  // The factors of a gain and pan in hundredths of a dB: 10^(dB / 20) for each side.
  struct SideGains {
    float left = 1.0f, right = 1.0f;
  };
  static SideGains sideGains(int32_t gain, int32_t pan);

 private:
  struct Voice {
    std::unique_ptr<PcmBuffer> buffer;
    size_t position = 0;  // frames
    bool playing = false;
    int32_t gain = 0, pan = 0;
    SideGains sides;
  };
  void mixBlock(float* acc, size_t frames);
  // Sets [voice]'s gain or pan ([level]) to [value] and its side factors with it.
  void setVoiceLevel(uint32_t voice, int32_t Voice::*level, int32_t value);

  mutable std::mutex mutex_;
  std::vector<Voice> voices_;
  std::vector<MixerStream*> streams_;
  int32_t masterGain_ = 0, masterPan_ = 0;
  SideGains master_;
};

}  // namespace kelvox::sound
