// Script access to data memory. Scripts address data in 32-bit little-endian words (word n is
// bytes 4n..4n+3); a string operand is a word number whose bytes run to the first NUL. Every
// access is checked against the allocation: an address outside it, or a string that runs off
// its end, raises error 9 instead of touching memory that is not data.
#pragma once

#include <cstdint>
#include <string_view>

namespace kelvox::vm {

struct MachineContext;

// Raises error 9 (outside data memory).
[[noreturn]] void raiseOutsideData();

// The string at data word [word]: the bytes from 4 × word up to (not including) the first NUL.
std::string_view dataString(const MachineContext& m, int32_t word);

// The value of data word [word].
int32_t loadDataWord(const MachineContext& m, int32_t word);
void storeDataWord(MachineContext& m, int32_t word, int32_t value);

}  // namespace kelvox::vm
