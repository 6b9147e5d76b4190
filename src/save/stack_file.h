// Stack files (Save\<name>, the name chosen by the script): both stacks and pc, not scrambled.
// All integers 32-bit little-endian, in this order:
//
//   size   field
//   4      P = entries on paramStack
//   4 × P  paramStack entries, bottom first
//   4      R = entries on returnStack
//   4 × R  returnStack entries, bottom first
//   4      pc
//
// A file may run on past pc: SaveStacks writes over the start of the old file and never
// shortens it, so the tail of a longer earlier content stays behind, unread.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::save {

// The file SaveStacks leaves when [old] held the file before: [m]'s stacks and pc over the
// start of [old], whose longer tail stays.
std::vector<uint8_t> encodeStacks(const vm::MachineContext& m, std::span<const uint8_t> old);

// Restores both stacks and pc of [m] from [bytes]; justRestored is left alone. P above the
// capacity (1024) raises 20 and R above it 21, as the original did; a file too short for its
// counts, or whose pc lies outside the code, raises 21 too. Everything is checked before anything changes (the original had
// filled paramStack already when it found R too large).
void applyStacks(vm::MachineContext& m, std::span<const uint8_t> bytes);

}  // namespace kelvox::save
