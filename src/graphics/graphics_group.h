// Group 0x8008: the script's pattern and sprite commands. Numbers are checked as unsigned
// values against the 1024 entries of `sprites` and `patterns` (30 and 31 naming the command),
// after every operand has been popped; the sprite number is checked first.
#pragma once

#include <cstdint>

#include "vm/machine_context.h"
#include "vm/machine_part.h"

namespace kelvox::graphics {

// 0 for a word of the group, 1 for any other (skipped).
int graphicsGroup(vm::MachineContext& m, uint32_t word);

struct TSprite;

// The sprite the machine's sprite [number] names; null outside 0..1023, for an empty entry, and
// without a display.
TSprite* spriteAt(const vm::MachineContext& m, int32_t number);

// The graphics subsystem's part of the machine (vm/machine_part.h): the sprites and patterns
// that the machine's tables `sprites` and `patterns` name.
class MachinePictures final : public vm::MachinePart {
 public:
  // Nothing to make: the tables start empty.
  void start(vm::MachineContext&) override {}
  // Destroys every sprite, then every pattern, of the machine's tables and empties the entries.
  void stop(vm::MachineContext& m) override;
};

}  // namespace kelvox::graphics
