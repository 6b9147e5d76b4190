// Opening the disc by its label, playing tracks and looping them on the completion notice.
#include "sound/cd_audio.h"

#include <algorithm>

#include "common/window_messages.h"
#include "platform/volumes.h"
#include "sound/mixer.h"
#include "vm/engine_config.h"

namespace kelvox::sound {

namespace {
constexpr size_t kVolumeNameLength = 32;
}

CdAudio::CdAudio(const Services& services, MixerControls* controls)
    : services_(services), stream_(services.device), gainControls_(stream_),
      mixerVolume_(controls ? *controls : gainControls_) {
  // A constructor that throws runs no destructor: the stream it put into the mixer is taken
  // out here, or the mixer would pull a stream that no longer exists.
  try {
    if (services_.mixer) services_.mixer->addStream(&stream_);
    scanMixers();
    if (services_.listeners) services_.listeners->addListener(this);
  } catch (...) {
    if (services_.mixer) services_.mixer->removeStream(&stream_);
    throw;
  }
}

CdAudio::~CdAudio() {
  if (services_.listeners) services_.listeners->removeListener(this);
  stop();
  close();
  restoreMixers();
  if (services_.mixer) services_.mixer->removeStream(&stream_);
}

int32_t CdAudio::openByLabel(std::string_view label) {
  if (!services_.volumes) return 0;
  auto volume = vm::findCdVolume(*services_.volumes, label);
  if (!volume) return 0;
  driveKnown_ = 1;
  driveName_ = std::string{volume->letter, ':'};
  volumeLabel_ = volume->label.substr(0, std::min(volume->label.size(), kVolumeNameLength));
  openDevice();  // found is found, whether or not the disc opens
  return 1;
}

bool CdAudio::openDevice() {
  // A second open would lose track of the first device: it is closed first.
  close();
  platform::CdDevice& device = services_.device;
  uint16_t id = 0;
  if (device.open(driveKnown_ ? driveName_ : std::string(), id) != 0) return false;
  deviceId_ = id;
  // The table of contents: the count, the disc's length, each track's start and length. Their
  // values decide nothing but whether the disc opens.
  auto count = device.trackCount(id);
  bool ok = count && device.discLength(id);
  if (count) trackCount_ = static_cast<int32_t>(*count);
  for (uint32_t t = 1; ok && count && t <= *count; ++t) ok = device.trackStart(id, t) && device.trackLength(id, t);
  if (!ok) {
    // Not marked open; the device is let go of too, so the next CdOpen can open it again.
    device.close(id);
    return false;
  }
  isOpen_ = 1;
  currentTrack_ = 0;
  return true;
}

bool CdAudio::play(int32_t track) {
  if (isOpen_ != 1) return false;
  if (track == currentTrack_) return true;  // the track goes on
  currentTrack_ = track;
  // Positions are tracks/minutes/seconds/frames with the track in the lowest byte. Short of
  // the last track the play ends where the next track begins: exactly this track plays.
  uint32_t from = static_cast<uint32_t>(track) & 0xFF;
  std::optional<uint32_t> to;
  if (track < trackCount_) to = static_cast<uint32_t>(track + 1) & 0xFF;
  return services_.device.play(deviceId_, from, to, services_.window) == 0;
}

void CdAudio::stop() {
  if (isOpen_ != 1 || currentTrack_ == 0) return;
  services_.device.stop(deviceId_);
  currentTrack_ = 0;
}

void CdAudio::close() {
  if (isOpen_ != 1) return;
  if (currentTrack_ != 0) stop();
  services_.device.close(deviceId_);
  isOpen_ = 0;
}

void CdAudio::onMessage(void*, uint32_t message, uint32_t wParam, int32_t) {
  if (message != common::kMmMciNotify || wParam != platform::kNotifySuccessful) return;
  // Which device sent it is not asked: there is one.
  int32_t track = currentTrack_;
  stop();
  if (loop_) play(track);
}

}  // namespace kelvox::sound
