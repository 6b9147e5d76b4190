// The handle table of pattern refs: slots reused through a free list, generations that make
// old handles miss.
#include "graphics/pattern.h"

namespace kelvox::graphics {

PatternHandle PatternHandles::add(TPatternRef* ref) {
  uint32_t slot;
  if (!free_.empty()) {
    slot = free_.back();
    free_.pop_back();
  } else {
    slot = static_cast<uint32_t>(slots_.size());
    slots_.push_back({});
  }
  slots_[slot].ref = ref;
  return {slot, slots_[slot].generation};
}

void PatternHandles::remove(PatternHandle handle) {
  if (find(handle) == nullptr) return;
  Slot& s = slots_[handle.slot];
  s.ref = nullptr;
  ++s.generation;  // wraps after 4 billion reuses of one slot, far beyond any game
  free_.push_back(handle.slot);
}

TPatternRef* PatternHandles::find(PatternHandle handle) const {
  if (handle.slot == 0 || handle.slot >= slots_.size()) return nullptr;
  const Slot& s = slots_[handle.slot];
  return s.generation == handle.generation ? s.ref : nullptr;
}

}  // namespace kelvox::graphics
