// Wiring the subsystems' instruction groups into the machine's table. Until a subsystem is
// part of the build its group skips its words (vm::skipGroup). A subsystem adds one line:
//   groups[0x8008 - 0x8000] = graphics::graphicsGroup;
#include "shell/group_table.h"

namespace kelvox::shell {

void installSubsystemGroups(vm::GroupTable& groups) {
  (void)groups;  // no subsystem yet: screen mode, saves, graphics, text, MIDI, WAV, effects, CD
}

}  // namespace kelvox::shell
