// The group table of a run: the machine's own groups and those of the subsystems this build
// has. The one place where a subsystem's instruction group is wired in: one line each.
#pragma once

#include "vm/groups.h"

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::shell {

// Puts every subsystem's group handler into [groups] (which holds machineGroups()).
void installSubsystemGroups(vm::GroupTable& groups);
// Gives [m] the subsystems' parts of its start-up and teardown (vm/machine_part.h).
void installSubsystemParts(vm::MachineContext& m);

}  // namespace kelvox::shell
