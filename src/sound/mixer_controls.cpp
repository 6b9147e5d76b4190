// The CD-audio volume controls: the scan, relative levels and the restore.
#include "sound/mixer_controls.h"

#include <algorithm>
#include <cmath>

namespace kelvox::sound {

uint32_t scaledLevel(uint32_t saved, int32_t level) {
  double product = std::trunc(static_cast<double>(saved) * static_cast<double>(level) * 0.00001);
  // A negative product, taken as an unsigned number, is larger than any saved level, and so is
  // one past 32 bits: both leave the start-up level.
  if (product < 0 || product >= static_cast<double>(saved)) return saved;
  return static_cast<uint32_t>(product);
}

void CdMixerVolume::scanMixers() {
  entries_.clear();
  uint32_t devices = controls_.deviceCount();
  for (uint32_t d = 0; d < devices && entries_.size() < kMaxEntries; ++d) {
    if (!controls_.open(d)) continue;
    scanDevice(d);
    controls_.close(d);
  }
}

void CdMixerVolume::scanDevice(uint32_t d) {
  auto destinations = controls_.destinations(d);
  if (!destinations) return;
  for (uint32_t i = 0; i < *destinations; ++i) {
    auto dest = controls_.destination(d, i);
    if (!dest) continue;
    for (uint32_t c = 0; c < dest->connections; ++c) {
      if (entries_.size() >= kMaxEntries) return;
      auto src = controls_.source(d, i, c);
      if (!src || !src->isSource || !src->isCompactDisc) continue;
      auto line = controls_.lineById(d, src->id);
      if (!line || line->controls == 0) continue;
      auto list = controls_.controls(d, line->id);
      if (!list) continue;
      // Only the first volume control of a line.
      auto volume = std::find_if(list->begin(), list->end(), [](const MixerControls::Control& k) { return k.isVolume; });
      if (volume == list->end()) continue;
      if (auto level = controls_.value(d, volume->id)) entries_.push_back({d, volume->id, *level});
    }
  }
}

void CdMixerVolume::setVolume(int32_t level) {
  for (const Entry& e : entries_) {
    if (!controls_.open(e.device)) continue;
    controls_.setValue(e.device, e.control, scaledLevel(e.saved, level));
    controls_.close(e.device);
  }
}

void CdMixerVolume::restoreMixers() {
  for (const Entry& e : entries_) {
    if (!controls_.open(e.device)) continue;
    controls_.setValue(e.device, e.control, e.saved);
    controls_.close(e.device);
  }
}

}  // namespace kelvox::sound
