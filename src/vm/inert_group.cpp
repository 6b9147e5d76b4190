// Groups 0x800E and 0x800F: each operation pops its operands and discards them; two push 0.
// What each pops and pushes comes from the instruction table.
#include "vm/groups.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

int inertGroup(MachineContext& m, uint32_t word) {
  const InstructionInfo* info = findInstruction(word);
  if (!info) return 1;
  for (int i = 0; i < info->pops; ++i) m.paramStack.pop();
  for (int i = 0; i < info->pushes; ++i) m.paramStack.push(0);
  return 0;
}

}  // namespace kelvox::vm
