// Saved games (Save\Save00 .. Save\Save99, Save\SaveQ): the machine's pc, data memory and both
// stacks. The whole file is scrambled with scrambleBuffer; after unscrambling, all integers are
// 32-bit little-endian:
//
//   offset        size   field
//   0             4      pc: the code word after the SaveState that wrote the file
//   4             4      D = dataSize, the data memory's size in bytes
//   8             4      R = entries on returnStack
//   12            4      P = entries on paramStack
//   16            D      data memory, byte for byte
//   16 + D        4 × R  returnStack entries, bottom first
//   16 + D + 4R   4 × P  paramStack entries, bottom first
//
// There is no magic number, version or checksum: the original wrote and read exactly this.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::save {

// The scrambled file of [m]'s state now.
std::vector<uint8_t> encodeState(const vm::MachineContext& m);

// Restores [m] from scrambled file [bytes] and sets justRestored. The whole file is checked
// first: one shorter or longer than its counts, a D other than dataSize, an R or P above the
// stacks' capacity, or a pc outside the code raises error 24 with the machine unchanged. (The
// original trusted the file and could overrun memory, or run off its code at the next tick.)
void applyState(vm::MachineContext& m, std::span<const uint8_t> bytes);

}  // namespace kelvox::save
