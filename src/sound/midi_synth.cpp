// The FluidSynth synthesizer and SMF player, the SMF check and the SoundFont search.
#include "sound/midi_synth.h"

#include <fluidsynth.h>

#include <cmath>
#include <filesystem>

namespace kelvox::sound {

namespace {

fluid_settings_t* settingsOf(void* p) { return static_cast<fluid_settings_t*>(p); }
fluid_synth_t* synthOf(void* p) { return static_cast<fluid_synth_t*>(p); }

// FluidSynth prints its complaints (a damaged piece, a missing SoundFont) to the terminal; the
// player reports failure by its results instead, so they are kept quiet once per process.
void quietLogs() {
  static const bool once = [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
    return true;
  }();
  (void)once;
}

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
uint16_t be16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }

}  // namespace

MidiSynth::MidiSynth(const std::string& soundFont) {
  quietLogs();
  fluid_settings_t* settings = new_fluid_settings();
  if (!settings) return;
  settings_ = settings;
  fluid_settings_setnum(settings, "synth.sample-rate", 44100.0);
  // Our lock guards every call; FluidSynth's own would only add a second one.
  fluid_settings_setint(settings, "synth.threadsafe-api", 0);
  double gain = 0.2;
  fluid_settings_getnum_default(settings, "synth.gain", &gain);
  defaultGain_ = static_cast<float>(gain);
  fluid_synth_t* synth = new_fluid_synth(settings);
  if (!synth) return;
  synth_ = synth;
  soundFont_ = soundFont;
}

MidiSynth::~MidiSynth() {
  unloadLocked();
  if (synth_) delete_fluid_synth(synthOf(synth_));
  if (settings_) delete_fluid_settings(settingsOf(settings_));
}

bool MidiSynth::load(const std::vector<uint8_t>& smf) {
  std::unique_ptr<SmfSequence> old;
  {
    std::lock_guard lock(mutex_);
    old = unloadLocked();
  }
  old.reset();  // freed here, never under the lock the device thread waits for
  if (!synth_) return false;
  // The SoundFont (megabytes) is read with the first piece, so games without music never read
  // it. Without a piece mix leaves FluidSynth alone, so the read needs no lock and the device
  // thread never waits for it.
  if (!soundFontTried_) {
    soundFontTried_ = true;
    if (!soundFont_.empty()) soundFontId_ = fluid_synth_sfload(synthOf(synth_), soundFont_.c_str(), 1);
    if (soundFontId_ == FLUID_FAILED) soundFontId_ = -1;
  }
  // Read here, on the engine thread, outside the lock: the device thread only walks the list.
  auto sequence = readSmf(smf, platform::AudioDevice::kSampleRate);
  if (!sequence) return false;
  auto piece = std::make_unique<SmfSequence>(std::move(*sequence));
  std::lock_guard lock(mutex_);
  piece_ = std::move(piece);
  next_ = 0;
  position_ = 0;
  playing_ = false;
  return true;
}

bool MidiSynth::play(int32_t plays) {
  std::lock_guard lock(mutex_);
  if (!piece_) return false;
  if (synth_) fluid_synth_system_reset(synthOf(synth_));
  next_ = 0;
  position_ = 0;
  playsLeft_ = plays < 0 ? -1 : std::max(plays, 1) - 1;
  playing_ = true;
  return true;
}

void MidiSynth::stop() {
  std::lock_guard lock(mutex_);
  playing_ = false;
  if (synth_) fluid_synth_system_reset(synthOf(synth_));
}

void MidiSynth::unload() {
  std::unique_ptr<SmfSequence> old;
  std::lock_guard lock(mutex_);
  old = unloadLocked();
}

std::unique_ptr<SmfSequence> MidiSynth::unloadLocked() {
  playing_ = false;
  if (piece_ && synth_) fluid_synth_system_reset(synthOf(synth_));
  return std::move(piece_);
}

bool MidiSynth::isPlaying() const {
  std::lock_guard lock(mutex_);
  return piece_ && playing_;
}

size_t MidiSynth::eventsPending() const {
  std::lock_guard lock(mutex_);
  return piece_ ? piece_->events.size() - next_ : 0;
}

size_t MidiSynth::sendDue(uint64_t until, size_t budget) {
  fluid_synth_t* synth = synthOf(synth_);
  size_t sent = 0;
  for (; next_ < piece_->events.size() && piece_->events[next_].frame < until && sent < budget; ++next_, ++sent) {
    const SmfEvent& e = piece_->events[next_];
    int channel = e.status & 0x0F;
    switch (e.status & 0xF0) {
      case 0x80: fluid_synth_noteoff(synth, channel, e.data1); break;
      case 0x90: fluid_synth_noteon(synth, channel, e.data1, e.data2); break;  // velocity 0 is a note off
      case 0xA0: fluid_synth_key_pressure(synth, channel, e.data1, e.data2); break;
      case 0xB0: fluid_synth_cc(synth, channel, e.data1, e.data2); break;
      case 0xC0: fluid_synth_program_change(synth, channel, e.data1); break;
      case 0xD0: fluid_synth_channel_pressure(synth, channel, e.data1); break;
      case 0xE0: fluid_synth_pitch_bend(synth, channel, e.data1 | e.data2 << 7); break;
      case 0xF0:
        fluid_synth_sysex(synth, reinterpret_cast<const char*>(piece_->sysexBytes.data() + e.sysex), e.sysexLength,
                          nullptr, nullptr, nullptr, 0);
        break;
    }
  }
  return sent;
}

void MidiSynth::setGain(int32_t hundredthsDb) {
  std::lock_guard lock(mutex_);
  if (!synth_) return;
  // 10^(dB / 20) with dB = hundredths / 100; FluidSynth caps the factor at 10 (+20 dB).
  double factor = std::pow(10.0, hundredthsDb / 2000.0);
  fluid_synth_set_gain(synthOf(synth_), static_cast<float>(defaultGain_ * factor));
}

float MidiSynth::gain() const {
  std::lock_guard lock(mutex_);
  return synth_ ? fluid_synth_get_gain(synthOf(synth_)) : 0.0f;
}

void MidiSynth::mix(float* acc, size_t frames) {
  std::lock_guard lock(mutex_);
  // Nothing to hear without a piece: the synthesizer's tails after a stop were reset away.
  if (!synth_ || !piece_) return;
  frames = std::min(frames, Mixer::kBlockFrames);
  size_t budget = (std::max(frames, kStepFrames) + kFramesPerEvent - 1) / kFramesPerEvent;
  size_t done = 0;
  while (done < frames) {
    const size_t step = std::min(kStepFrames, frames - done);
    if (playing_) {
      budget -= sendDue(position_ + step, budget);
      position_ += step;
      // The end: every event sent and the piece's length reached. A repeat starts it again.
      if (next_ == piece_->events.size() && position_ >= piece_->lengthFrames) {
        if (playsLeft_ != 0) {
          if (playsLeft_ > 0) --playsLeft_;
          next_ = 0;
          position_ = 0;
        } else {
          playing_ = false;
        }
      }
    }
    float* out = scratch_ + 2 * done;
    if (fluid_synth_write_float(synthOf(synth_), static_cast<int>(step), out, 0, 2, out, 1, 2) != FLUID_OK) return;
    done += step;
  }
  for (size_t i = 0; i < frames * 2; ++i) acc[i] += scratch_[i];
}

bool isStandardMidiFile(const std::vector<uint8_t>& b) {
  // "MThd", length 6 (at least), format, track count, division.
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd") return false;
  uint32_t headerLength = be32(b, 4);
  if (headerLength < 6 || headerLength > b.size() - 8) return false;
  uint16_t format = be16(b, 8), tracks = be16(b, 10), division = be16(b, 12);
  if (format > 2 || tracks == 0 || division == 0) return false;
  size_t at = 8 + headerLength;
  uint32_t found = 0;
  while (at < b.size()) {
    if (b.size() - at < 8) return false;
    uint32_t length = be32(b, at + 4);
    if (length > b.size() - at - 8) return false;
    if (std::string(b.begin() + at, b.begin() + at + 4) == "MTrk") ++found;
    at += 8 + size_t(length);
  }
  return found >= tracks;
}

std::string findSoundFont(const std::string& chosen) {
  if (!chosen.empty()) return chosen;
  // FluidSynth's own default is the .sf3 name; Debian's timgm6mb-soundfont installs the .sf2 one.
  for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return path;
  }
  return "";
}

}  // namespace kelvox::sound
