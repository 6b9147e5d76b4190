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

int WavPlayer::initialise(platform::Window*) {
  if (device) return 0;
  // The window played a part in DirectSound's cooperation only; the device is the machine's.
  if (!output_.open(mixer_)) return 1;
  device = &mixer_;
  mixer_.setMasterGain(volumeToGain(masterVolume));
  mixer_.setMasterPan(panToMixer(masterPan));
  setMasterVolume(100);  // every initialisation resets the master volume
  setChannelCount(kWavChannels);
  return 0;
}

int WavPlayer::reinitialise() {
  shutdown();
  return initialise(window);
}

uint32_t WavPlayer::setChannelCount(uint32_t n) {
  uint32_t previous = channelCount;
  if (!device) return previous;
  releaseChannels();
  mixer_.setVoiceCount(n);
  channelCount = n;
  channelVolume.assign(n, 100);
  channelPan.assign(n, 0);
  fileNames.assign(n, std::string());
  looping.assign(n, 0);
  return previous;
}

void WavPlayer::releaseChannels() {
  mixer_.setVoiceCount(0);
  channelVolume.clear();
  channelPan.clear();
  fileNames.clear();
  looping.clear();
  channelCount = 0;
}

void WavPlayer::shutdown() {
  releaseChannels();
  if (device) output_.close();
  device = nullptr;
}

void WavPlayer::applyChannel(uint32_t channel) {
  mixer_.setVoiceGain(channel, volumeToGain(channelVolume[channel]));
  mixer_.setVoicePan(channel, panToMixer(channelPan[channel]));
}

bool WavPlayer::load(uint32_t channel, const std::string& path) {
  if (channel >= channelCount || path.empty()) return false;
  if (fileNames[channel] != path) {  // exact, case-sensitive, as the original compared
    mixer_.setBuffer(channel, nullptr);
    fileNames[channel].clear();
    auto bytes = files_->read(path, kMaxWavFileBytes);
    if (!bytes) return false;
    auto image = readWav(*bytes);
    if (!image) return false;
    auto sound = convertForMixer(*image);
    if (!sound) return false;
    mixer_.setBuffer(channel, std::move(sound));
    fileNames[channel] = path;
  }
  applyChannel(channel);
  return true;
}

int WavPlayer::play(uint32_t channel, const std::string& path, int32_t loop) {
  if (!device || channel >= channelCount || path.empty() || !load(channel, path)) return 1;
  mixer_.start(channel, true);
  looping[channel] = loop;
  return 0;
}

void WavPlayer::stop(uint32_t channel) {
  if (!device || channel >= channelCount || !mixer_.hasBuffer(channel)) return;
  mixer_.stop(channel);
  looping[channel] = 0;
}

int WavPlayer::isPlaying(uint32_t channel) {
  if (!device || channel >= channelCount) return 0;
  return mixer_.isPlaying(channel) ? 1 : 0;
}

void WavPlayer::setMasterVolume(int32_t v) {
  masterVolume = clampVolume(v);
  if (device) mixer_.setMasterGain(volumeToGain(masterVolume));
}

void WavPlayer::setMasterPan(int32_t p) {
  masterPan = clampPan(p);
  if (device) mixer_.setMasterPan(panToMixer(masterPan));
}

void WavPlayer::setChannelVolume(uint32_t channel, int32_t v) {
  if (channel >= channelCount) return;
  channelVolume[channel] = clampVolume(v);
  if (mixer_.hasBuffer(channel)) applyChannel(channel);
}

void WavPlayer::setChannelPan(uint32_t channel, int32_t p) {
  if (channel >= channelCount) return;
  channelPan[channel] = clampPan(p);
  if (mixer_.hasBuffer(channel)) applyChannel(channel);
}

void WavPlayer::serviceLoops() {
  if (!device) return;
  for (uint32_t c = 0; c < channelCount; ++c) {
    if (looping[c] && mixer_.hasBuffer(c) && !mixer_.isPlaying(c)) mixer_.start(c, false);
  }
}

}  // namespace kelvox::sound
