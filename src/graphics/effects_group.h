// Group 0x800C: the script's screen transitions. BeginEffect and PrepareEffect move the frame
// loop's presentation state (the loop captures the pictures before and after), DrawEffect
// draws one step into the back buffer, EndEffect lets the transition surfaces go and brings
// the patterns' surfaces back.
#pragma once

#include <cstdint>

#include "vm/machine_context.h"

namespace kelvox::graphics {

// 0 for a word of the group, 1 for any other (and for DrawEffect of a kind outside 0..11).
int effectsGroup(vm::MachineContext& m, uint32_t word);

}  // namespace kelvox::graphics
