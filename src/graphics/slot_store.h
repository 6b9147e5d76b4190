// SlotStore: a store that owns its objects and names each by a vm::ObjectHandle. The display
// keeps its pattern refs and sprites in two of them; the machine's tables and the sprites keep
// handles. Slots are reused through a free list; a slot's generation goes up each time its
// object leaves, so an old handle to it never finds the next object there.
//
// Memory: adding may allocate (and then raises std::bad_alloc with nothing changed); taking and
// clearing never allocate, so destroying an object cannot fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "vm/object_handle.h"

namespace kelvox::graphics {

template <typename T>
class SlotStore {
 public:
  using Handle = vm::ObjectHandle;

  // Takes [object] into a free slot and returns its handle.
  Handle add(std::unique_ptr<T> object) {
    uint32_t slot;
    if (!free_.empty()) {
      slot = free_.back();
      free_.pop_back();
    } else {
      free_.reserve(slots_.size() + 1);  // so that take() never allocates
      slots_.emplace_back();
      slot = static_cast<uint32_t>(slots_.size());
    }
    Slot& s = slots_[slot - 1];
    s.object = std::move(object);
    ++count_;
    return {slot, s.generation};
  }

  // The object [handle] names; null when it left since, or never was.
  T* find(Handle handle) const {
    if (handle.slot == 0 || handle.slot > slots_.size()) return nullptr;
    const Slot& s = slots_[handle.slot - 1];
    return s.generation == handle.generation ? s.object.get() : nullptr;
  }

  // Removes the object [handle] names and hands it over; null when there is none.
  std::unique_ptr<T> take(Handle handle) {
    if (find(handle) == nullptr) return nullptr;
    Slot& s = slots_[handle.slot - 1];
    ++s.generation;  // wraps after 4 billion reuses of one slot, far beyond any game
    free_.push_back(handle.slot);
    --count_;
    return std::move(s.object);
  }

  // Frees every object; every handle stops finding one.
  void clear() {
    for (uint32_t slot = 1; slot <= slots_.size(); ++slot) take({slot, slots_[slot - 1].generation});
  }

  size_t size() const { return count_; }

 private:
  struct Slot {
    std::unique_ptr<T> object;
    uint32_t generation = 1;
  };
  std::vector<Slot> slots_;     // slot n is slots_[n - 1]
  std::vector<uint32_t> free_;  // empty slots, reused last first
  size_t count_ = 0;
};

}  // namespace kelvox::graphics
