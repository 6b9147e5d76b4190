// Lookups into the instruction table, for the assembler, the disassembler and error texts.
#include "vm/instruction_set.h"

namespace kelvox::vm {

const InstructionInfo* findInstruction(uint32_t word) {
  for (const auto& info : kInstructions)
    if (info.word == word) return &info;
  return nullptr;
}

const InstructionInfo* findInstruction(std::string_view mnemonic) {
  for (const auto& info : kInstructions)
    if (info.mnemonic == mnemonic) return &info;
  return nullptr;
}

}  // namespace kelvox::vm
