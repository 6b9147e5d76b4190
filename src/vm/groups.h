// The instruction group handlers. Each receives the machine and the whole operation word and
// returns 0 if it knew the word, 1 if not; 1 is not acted upon (the word is skipped).
//
// The group table maps the sixteen groups 0x8000..0x800F to their handlers. The machine fills
// in its own groups (machineGroups); the subsystems' groups are put in by the shell, which is
// the one place that knows them all, so the machine knows no subsystem.
#pragma once

#include <array>
#include <cstdint>

namespace kelvox::vm {

struct MachineContext;

using GroupHandler = int (*)(MachineContext& m, uint32_t word);
using GroupTable = std::array<GroupHandler, 16>;  // index: group - 0x8000

int coreGroup(MachineContext& m, uint32_t word);        // 0x8000
int arithmeticGroup(MachineContext& m, uint32_t word);  // 0x8001
int systemGroup(MachineContext& m, uint32_t word);      // 0x8002
int debugGroup(MachineContext& m, uint32_t word);       // 0x8004
int inputGroup(MachineContext& m, uint32_t word);       // 0x8005
int inertGroup(MachineContext& m, uint32_t word);       // 0x800E and 0x800F
// The stand-in for a subsystem that is not part of this build: skips every word, as a group
// does with a word it does not know.
int skipGroup(MachineContext& m, uint32_t word);

// The machine's own groups; every subsystem's group skips; 0x8003 has no handler (its words
// raise error 10, as any unassigned group's).
GroupTable machineGroups();

}  // namespace kelvox::vm
