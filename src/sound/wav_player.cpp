// The WAV player's channels, loading, playing and loop upkeep over the mixer.
#include "sound/wav_player.h"

#include <algorithm>

#include "platform/audio_device.h"
#include "sound/resample.h"
#include "sound/wav_file.h"

namespace kelvox::sound {

int32_t clampVolume(int32_t v) { return static_cast<uint32_t>(v) > 100 ? 100 : v; }
int32_t clampPan(int32_t p) { return std::clamp(p, -100, 100); }

WavPlayer::WavPlayer(platform::AudioDevice& output, const platform::Paths& paths)
    : output_(output), platformFiles_(paths), files_(&platformFiles_) {}

WavPlayer::~WavPlayer() { shutdown(); }

const WavPlayer::Channel& WavPlayer::channel(uint32_t c) const {
  static const Channel kEmpty;
  return c < channels_.size() ? channels_[c] : kEmpty;
}

int WavPlayer::initialise(platform::Window*) {
  if (device_) return 0;
  // The window played a part in DirectSound's cooperation only; the device is the machine's.
  if (!output_.open(mixer_)) return 1;
  device_ = &mixer_;
  mixer_.setMasterGain(volumeToGain(masterVolume_));
  mixer_.setMasterPan(panToMixer(masterPan_));
  setMasterVolume(100);  // every initialisation resets the master volume
  setChannelCount(kWavChannels);
  return 0;
}

int WavPlayer::reinitialise() {
  shutdown();
  return initialise(window_);
}

uint32_t WavPlayer::setChannelCount(uint32_t n) {
  uint32_t previous = channelCount();
  if (!device_) return previous;
  releaseChannels();
  mixer_.setVoiceCount(n);
  channels_.resize(n);
  return previous;
}

void WavPlayer::releaseChannels() {
  mixer_.setVoiceCount(0);
  channels_.clear();
}

void WavPlayer::shutdown() {
  releaseChannels();
  if (device_) output_.close();
  device_ = nullptr;
}

void WavPlayer::applyChannel(uint32_t c) {
  mixer_.setVoiceGain(c, volumeToGain(channels_[c].volume));
  mixer_.setVoicePan(c, panToMixer(channels_[c].pan));
}

bool WavPlayer::load(uint32_t c, const std::string& path) {
  if (c >= channelCount() || path.empty()) return false;
  Channel& ch = channels_[c];
  if (ch.fileName != path) {  // exact, case-sensitive, as the original compared
    mixer_.setBuffer(c, nullptr);
    ch.fileName.clear();
    auto bytes = files_->read(path, kMaxWavFileBytes);
    if (!bytes) return false;
    auto image = readWav(*bytes);
    if (!image) return false;
    auto sound = convertForMixer(*image);
    if (!sound) return false;
    mixer_.setBuffer(c, std::move(sound));
    ch.fileName = path;
  }
  applyChannel(c);
  return true;
}

int WavPlayer::play(uint32_t c, const std::string& path, int32_t loop) {
  if (!device_ || c >= channelCount() || path.empty() || !load(c, path)) return 1;
  mixer_.start(c, true);
  channels_[c].looping = loop;
  return 0;
}

void WavPlayer::stop(uint32_t c) {
  if (!device_ || c >= channelCount() || !mixer_.hasBuffer(c)) return;
  mixer_.stop(c);
  channels_[c].looping = 0;
}

int WavPlayer::isPlaying(uint32_t c) {
  if (!device_ || c >= channelCount()) return 0;
  return mixer_.isPlaying(c) ? 1 : 0;
}

void WavPlayer::setMasterVolume(int32_t v) {
  masterVolume_ = clampVolume(v);
  if (device_) mixer_.setMasterGain(volumeToGain(masterVolume_));
}

void WavPlayer::setMasterPan(int32_t p) {
  masterPan_ = clampPan(p);
  if (device_) mixer_.setMasterPan(panToMixer(masterPan_));
}

void WavPlayer::setChannelVolume(uint32_t c, int32_t v) {
  if (c >= channelCount()) return;
  channels_[c].volume = clampVolume(v);
  if (mixer_.hasBuffer(c)) applyChannel(c);
}

void WavPlayer::setChannelPan(uint32_t c, int32_t p) {
  if (c >= channelCount()) return;
  channels_[c].pan = clampPan(p);
  if (mixer_.hasBuffer(c)) applyChannel(c);
}

void WavPlayer::serviceLoops() {
  if (!device_) return;
  for (uint32_t c = 0; c < channelCount(); ++c) {
    if (channels_[c].looping && mixer_.hasBuffer(c) && !mixer_.isPlaying(c)) mixer_.start(c, false);
  }
}

}  // namespace kelvox::sound
