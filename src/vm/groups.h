// The instruction group handlers. Each receives the machine and the whole operation word and
// returns 0 if it knew the word, 1 if not; 1 is not acted upon (the word is skipped).
#pragma once

#include <cstdint>

namespace kelvox::vm {

struct MachineContext;

using GroupHandler = int (*)(MachineContext& m, uint32_t word);

int coreGroup(MachineContext& m, uint32_t word);        // 0x8000
int arithmeticGroup(MachineContext& m, uint32_t word);  // 0x8001
int systemGroup(MachineContext& m, uint32_t word);      // 0x8002
int debugGroup(MachineContext& m, uint32_t word);       // 0x8004
int inputGroup(MachineContext& m, uint32_t word);       // 0x8005
int inertGroup(MachineContext& m, uint32_t word);       // 0x800E and 0x800F

}  // namespace kelvox::vm
