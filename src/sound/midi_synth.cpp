// The FluidSynth synthesizer and SMF player, the SMF check and the SoundFont search.
#include "sound/midi_synth.h"

#include <fluidsynth.h>

#include <cmath>
#include <filesystem>

namespace kelvox::sound {

namespace {

fluid_settings_t* settingsOf(void* p) { return static_cast<fluid_settings_t*>(p); }
fluid_synth_t* synthOf(void* p) { return static_cast<fluid_synth_t*>(p); }
fluid_player_t* playerOf(void* p) { return static_cast<fluid_player_t*>(p); }

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
  // The player's clock is the samples rendered, not the wall clock: music moves with the mixer.
  fluid_settings_setstr(settings, "player.timing-source", "sample");
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

bool MidiSynth::load(std::vector<uint8_t> smf) {
  {
    std::lock_guard lock(mutex_);
    unloadLocked();
  }
  if (!synth_) return false;
  // The SoundFont (megabytes) is read with the first piece, so games without music never read
  // it. Without a piece mix leaves FluidSynth alone, so the read needs no lock and the device
  // thread never waits for it.
  if (!soundFontTried_) {
    soundFontTried_ = true;
    if (!soundFont_.empty()) soundFontId_ = fluid_synth_sfload(synthOf(synth_), soundFont_.c_str(), 1);
    if (soundFontId_ == FLUID_FAILED) soundFontId_ = -1;
  }
  std::lock_guard lock(mutex_);
  fluid_player_t* player = new_fluid_player(synthOf(synth_));
  if (!player) return false;
  // FluidSynth copies the bytes; it parses them when the piece starts.
  if (fluid_player_add_mem(player, smf.data(), smf.size()) != FLUID_OK) {
    delete_fluid_player(player);
    return false;
  }
  player_ = player;
  return true;
}

bool MidiSynth::play(int32_t plays) {
  std::lock_guard lock(mutex_);
  if (!player_) return false;
  fluid_player_set_loop(playerOf(player_), plays < 0 ? -1 : plays);
  once_ = plays == 1;
  return fluid_player_play(playerOf(player_)) == FLUID_OK;
}

void MidiSynth::stop() {
  std::lock_guard lock(mutex_);
  if (player_) fluid_player_stop(playerOf(player_));
  if (synth_) fluid_synth_system_reset(synthOf(synth_));
}

void MidiSynth::unload() {
  std::lock_guard lock(mutex_);
  unloadLocked();
}

void MidiSynth::unloadLocked() {
  if (!player_) return;
  fluid_player_stop(playerOf(player_));
  delete_fluid_player(playerOf(player_));
  player_ = nullptr;
  if (synth_) fluid_synth_system_reset(synthOf(synth_));
}

bool MidiSynth::isPlaying() const {
  std::lock_guard lock(mutex_);
  if (!player_ || fluid_player_get_status(playerOf(player_)) != FLUID_PLAYER_PLAYING) return false;
  // FluidSynth's player reports a finished piece as playing for about two more seconds while
  // its notes die away. A piece played once has ended when its last tick is reached (its
  // length is known once FluidSynth has parsed it, at the first block rendered).
  int total = fluid_player_get_total_ticks(playerOf(player_));
  return !(once_ && total > 0 && fluid_player_get_current_tick(playerOf(player_)) >= total);
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
  if (!synth_ || !player_) return;
  int n = static_cast<int>(std::min(frames, Mixer::kBlockFrames));
  if (fluid_synth_write_float(synthOf(synth_), n, scratch_, 0, 2, scratch_, 1, 2) != FLUID_OK) return;
  for (int i = 0; i < n * 2; ++i) acc[i] += scratch_[i];
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
