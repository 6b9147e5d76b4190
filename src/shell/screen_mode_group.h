// Instruction group 0x8006: switching between full screen and a window. Switching is how the
// picture and sound devices come into existence, so this group steps through the display, the
// MIDI player and the WAV player in one fixed order; it lives in the shell, the one layer that
// knows them all.
#pragma once

#include <cstdint>

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::shell {

// Handles a word of group 0x8006; 0 if known, 1 if not (see vm/groups.h).
int screenModeGroup(vm::MachineContext& m, uint32_t word);

// SetScreenMode's steps after its pops: [fullScreen] ≠ 0 for full screen, [width] × [height]
// pixels.
void setScreenMode(vm::MachineContext& m, int32_t fullScreen, int32_t height, int32_t width);

}  // namespace kelvox::shell
