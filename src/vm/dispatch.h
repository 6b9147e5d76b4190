// Instruction fetch and dispatch. A word with bit 31 clear is a literal pushed on paramStack;
// any other word is an operation whose upper half-word selects its group handler.
#pragma once

#include <cstdint>

#include "vm/groups.h"

namespace kelvox::vm {

struct MachineContext;

// Executes exactly one instruction; returns the group's result (0 for a literal).
int step(MachineContext& m);

// Executes one tick's instructions: nothing while a debug box is open; otherwise up to
// instructionsPerTick, stopping before an instruction while frameWait or drawnFrameWait is
// set and after one that set endRequested. A fault leaves through the exception at once.
void runSlice(MachineContext& m);

// Computes codeKeys from code. The slice loop does it itself when their sizes differ; code
// replaced in place at the same size needs this call.
void decodeCode(MachineContext& m);

// Raises error 10 for an operation word of an unassigned group.
[[noreturn]] void raiseUndefinedInstruction(uint32_t word);

}  // namespace kelvox::vm
