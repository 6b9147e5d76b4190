// Group 0x8008: the script's pattern and sprite commands. Numbers are checked as unsigned
// values against the 1024 entries of `sprites` and `patterns` (30 and 31 naming the command),
// after every operand has been popped; the sprite number is checked first.
#pragma once

#include <cstdint>

#include "vm/machine_context.h"

namespace kelvox::graphics {

// 0 for a word of the group, 1 for any other (skipped).
int graphicsGroup(vm::MachineContext& m, uint32_t word);

// Destroys every sprite, then every pattern, of the machine's tables and empties the entries
// (the machine's teardown, through MachineContext::releasePictures).
void releaseMachinePictures(vm::MachineContext& m);

}  // namespace kelvox::graphics
