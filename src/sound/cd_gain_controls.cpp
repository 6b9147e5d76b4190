// The one mixer, its two lines and the CD gain.
#include "sound/cd_gain_controls.h"

namespace kelvox::sound {

namespace {
const MixerControls::Line kOutput{CdGainControls::kOutputLine, false, false, 1, 0};
const MixerControls::Line kCd{CdGainControls::kCdLine, true, true, 0, 1};
}  // namespace

std::optional<uint32_t> CdGainControls::destinations(uint32_t device) {
  if (device != 0) return std::nullopt;
  return 1;
}

std::optional<MixerControls::Line> CdGainControls::destination(uint32_t device, uint32_t index) {
  if (device != 0 || index != 0) return std::nullopt;
  return kOutput;
}

std::optional<MixerControls::Line> CdGainControls::source(uint32_t device, uint32_t destination, uint32_t connection) {
  if (device != 0 || destination != 0 || connection != 0) return std::nullopt;
  return kCd;
}

std::optional<MixerControls::Line> CdGainControls::lineById(uint32_t device, uint32_t lineId) {
  if (device != 0) return std::nullopt;
  if (lineId == kOutputLine) return kOutput;
  if (lineId == kCdLine) return kCd;
  return std::nullopt;
}

std::optional<std::vector<MixerControls::Control>> CdGainControls::controls(uint32_t device, uint32_t lineId) {
  if (device != 0) return std::nullopt;
  if (lineId == kOutputLine) return std::vector<Control>{};
  if (lineId == kCdLine) return std::vector<Control>{{kCdVolume, true}};
  return std::nullopt;
}

std::optional<uint32_t> CdGainControls::value(uint32_t device, uint32_t controlId) {
  if (device != 0 || controlId != kCdVolume) return std::nullopt;
  return stream_.level();
}

bool CdGainControls::setValue(uint32_t device, uint32_t controlId, uint32_t value) {
  if (device != 0 || controlId != kCdVolume) return false;
  stream_.setLevel(value);
  return true;
}

}  // namespace kelvox::sound
