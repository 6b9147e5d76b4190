// ObjectHandle: how the machine names an object that a subsystem's store owns for it (a sprite,
// a pattern). A handle is the store's slot and the slot's generation when the object was put
// there; a slot's generation moves on when its object goes, so a handle kept after that finds
// nothing instead of freed memory. {0, 0} names nothing.
#pragma once

#include <cstdint>

namespace kelvox::vm {

struct ObjectHandle {
  uint32_t slot = 0;        // 1 … ; 0 is no slot
  uint32_t generation = 0;  // the slot's generation when the handle was taken
  constexpr bool empty() const { return slot == 0; }
  constexpr bool operator==(const ObjectHandle&) const = default;
};

}  // namespace kelvox::vm
