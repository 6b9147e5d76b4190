// The script disassembler: a listing of code words and data memory that kvasm reads back into
// the same words and bytes. Each line starts with an index mark ("0012:"), which kvasm checks.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kelvox::assembler {

// Lists [code] (one word per line: a literal in decimal, a mnemonic, or ".word 0x..." for an
// operation no group defines) and then [data] (unscrambled) by word index: text that reads
// back exactly as ".string", runs of zero words as ".space", the rest as ".word". Strings are
// shown in UTF-8.
std::string disassemble(std::span<const uint32_t> code, std::span<const uint8_t> data);

}  // namespace kelvox::assembler
