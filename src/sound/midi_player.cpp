// The MIDI player's operations over its MidiSynth port.
#include "sound/midi_player.h"

#include <algorithm>

#include "sound/midi_synth.h"
#include "sound/mixer.h"
#include "sound/sound_files.h"

namespace kelvox::sound {

namespace {
constexpr size_t kMaxPath = 260;  // the original's MAX_PATH, terminator included

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}
}  // namespace

int32_t midiVolumeToGain(int32_t v) {
  uint32_t capped = std::min<uint32_t>(static_cast<uint32_t>(v), 100);
  return static_cast<int32_t>(capped) * 220 - 20000;
}

MidiPlayer::MidiPlayer(SoundFiles& files, std::string soundFont) : files_(&files), soundFont_(std::move(soundFont)) {}

MidiPlayer::~MidiPlayer() { shutdown(); }

int MidiPlayer::initialise(Mixer* device) {
  shutdown();
  auto port = std::make_unique<MidiSynth>(soundFont_);
  if (!port->ok()) return 1;
  port_ = std::move(port);
  device_ = device;
  if (device_) device_->addStream(port_.get());
  return 0;
}

void MidiPlayer::shutdown() {
  if (!port_) return;
  port_->stop();
  segment_ = false;
  // Out of the mix before it goes, so the device never renders a released synthesizer.
  if (device_) device_->removeStream(port_.get());
  device_ = nullptr;
  port_.reset();
}

int MidiPlayer::loadSegment(const std::string& path) {
  if (!port_) return 1;
  if (segment_) {
    port_->unload();
    segment_ = false;
  }
  if (path.size() >= kMaxPath) return 1;
  auto bytes = files_->read(path, kMaxMidiFileBytes);
  if (!bytes || !isStandardMidiFile(*bytes)) return 1;
  if (!port_->load(*bytes)) return 1;
  segment_ = true;
  fileName_ = path;
  return 0;
}

int MidiPlayer::play(const std::string& path, int32_t repeats) {
  if (isPlaying() && sameNameIgnoringCase(path, fileName_)) return 0;
  if (loadSegment(path) != 0) return 1;
  // repeats more after the first: 0 plays once; −1 (0xFFFFFFFF) never ends.
  int32_t plays = repeats < 0 || repeats == INT32_MAX ? -1 : repeats + 1;
  return port_->play(plays) ? 0 : 1;
}

void MidiPlayer::stop() {
  if (port_ && segment_) port_->stop();
}

bool MidiPlayer::isPlaying() const { return port_ && segment_ && port_->isPlaying(); }

std::optional<std::string> MidiPlayer::currentName() const {
  if (!isPlaying()) return std::nullopt;
  return fileName_;
}

void MidiPlayer::setVolume(int32_t v) {
  if (!port_) return;
  volume_ = std::min<uint32_t>(static_cast<uint32_t>(v), 100);
  port_->setGain(midiVolumeToGain(volume_));
}

}  // namespace kelvox::sound
