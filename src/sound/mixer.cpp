// Mixing the voices, and the decibel arithmetic of gains and pans.
#include "sound/mixer.h"

#include <algorithm>
#include <cmath>

namespace kelvox::sound {

namespace {

float decibelFactor(int32_t hundredths) { return static_cast<float>(std::pow(10.0, hundredths / 2000.0)); }

// A float sample (full scale ±1) as a 16-bit one, saturating: loud mixes clip, never wrap.
int16_t toSample(float x) {
  float s = std::nearbyint(x * 32768.0f);
  return static_cast<int16_t>(std::clamp(s, -32768.0f, 32767.0f));
}

}  // namespace

Mixer::SideGains Mixer::sideGains(int32_t gain, int32_t pan) {
  gain = std::clamp(gain, kSilence, 0);
  pan = std::clamp(pan, kSilence, -kSilence);
  // A pan to the right [pan > 0] turns the left side down by [pan], and the other way round.
  return {decibelFactor(gain - std::max(pan, 0)), decibelFactor(gain + std::min(pan, 0))};
}

void Mixer::setVoiceCount(uint32_t count) {
  std::vector<Voice> fresh(count);
  {
    std::lock_guard lock(mutex_);
    voices_.swap(fresh);
  }
  // The old voices' buffers go here, outside the lock.
}

uint32_t Mixer::voiceCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<uint32_t>(voices_.size());
}

void Mixer::setBuffer(uint32_t voice, std::unique_ptr<PcmBuffer> buffer) {
  {
    std::lock_guard lock(mutex_);
    if (voice >= voices_.size()) return;
    Voice& v = voices_[voice];
    v.buffer.swap(buffer);
    v.position = 0;
    v.playing = false;
  }
  // [buffer] now holds the old sound, freed outside the lock.
}

bool Mixer::hasBuffer(uint32_t voice) const {
  std::lock_guard lock(mutex_);
  return voice < voices_.size() && voices_[voice].buffer != nullptr;
}

void Mixer::start(uint32_t voice, bool fromStart) {
  std::lock_guard lock(mutex_);
  if (voice >= voices_.size() || !voices_[voice].buffer) return;
  Voice& v = voices_[voice];
  if (fromStart) v.position = 0;
  v.playing = v.position < v.buffer->frames();
}

void Mixer::stop(uint32_t voice) {
  std::lock_guard lock(mutex_);
  if (voice < voices_.size()) voices_[voice].playing = false;
}

bool Mixer::isPlaying(uint32_t voice) const {
  std::lock_guard lock(mutex_);
  return voice < voices_.size() && voices_[voice].playing;
}

void Mixer::setVoiceGain(uint32_t voice, int32_t gain) { setVoiceLevel(voice, &Voice::gain, gain); }

void Mixer::setVoicePan(uint32_t voice, int32_t pan) { setVoiceLevel(voice, &Voice::pan, pan); }

void Mixer::setVoiceLevel(uint32_t voice, int32_t Voice::*level, int32_t value) {
  std::lock_guard lock(mutex_);
  if (voice >= voices_.size()) return;
  Voice& v = voices_[voice];
  v.*level = value;
  v.sides = sideGains(v.gain, v.pan);
}

void Mixer::setMasterGain(int32_t gain) {
  std::lock_guard lock(mutex_);
  masterGain_ = gain;
  master_ = sideGains(masterGain_, masterPan_);
}

void Mixer::setMasterPan(int32_t pan) {
  std::lock_guard lock(mutex_);
  masterPan_ = pan;
  master_ = sideGains(masterGain_, masterPan_);
}

// Adds every playing voice into [acc] (interleaved stereo, full scale ±1) for [frames]
// frames. A voice that reaches the end of its sound stops and goes back to the beginning, as
// a buffer played once does.
void Mixer::mixBlock(float* acc, size_t frames) {
  constexpr float kScale = 1.0f / 32768.0f;
  for (Voice& v : voices_) {
    if (!v.playing) continue;
    const int16_t* src = v.buffer->samples.data() + v.position * 2;
    size_t n = std::min(frames, v.buffer->frames() - v.position);
    float l = v.sides.left * master_.left * kScale, r = v.sides.right * master_.right * kScale;
    for (size_t i = 0; i < n; ++i) {
      acc[2 * i] += src[2 * i] * l;
      acc[2 * i + 1] += src[2 * i + 1] * r;
    }
    v.position += n;
    if (v.position >= v.buffer->frames()) {
      v.playing = false;
      v.position = 0;
    }
  }
  for (MixerStream* s : streams_) s->mix(acc, frames);
}

void Mixer::addStream(MixerStream* stream) {
  std::lock_guard lock(mutex_);
  if (std::find(streams_.begin(), streams_.end(), stream) == streams_.end()) streams_.push_back(stream);
}

void Mixer::removeStream(MixerStream* stream) {
  std::lock_guard lock(mutex_);
  streams_.erase(std::remove(streams_.begin(), streams_.end(), stream), streams_.end());
}

void Mixer::prepare(size_t frames) {
  for (MixerStream* s : streams_) s->prepare(frames);
}

void Mixer::render(std::span<int16_t> out) {
  float acc[kBlockFrames * 2];
  std::lock_guard lock(mutex_);
  size_t total = out.size() / 2;
  for (size_t done = 0; done < total;) {
    size_t frames = std::min(kBlockFrames, total - done);
    std::fill_n(acc, frames * 2, 0.0f);
    mixBlock(acc, frames);
    int16_t* dst = out.data() + done * 2;
    for (size_t i = 0; i < frames * 2; ++i) dst[i] = toSample(acc[i]);
    done += frames;
  }
  if (out.size() % 2) out.back() = 0;  // half a frame: nothing to put there
}

}  // namespace kelvox::sound
