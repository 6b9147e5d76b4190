// Instruction group 0x800D: the script's CD audio (open the disc by its label, play a track
// once or looping, stop, volume, query) on the machine's CdAudio, and that object's life with
// the machine.
#pragma once

#include <cstdint>

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::sound {

// Handles a word of group 0x800D; 0 if known, 1 if not (see vm/groups.h).
int cdGroup(vm::MachineContext& m, uint32_t word);

// The machine's cdAudio hooks: makes it over the platform's CD device, the WAV player's mixer
// and the host's listeners (false when it cannot be made), and ends it.
bool createCdAudio(vm::MachineContext& m);
void destroyCdAudio(vm::MachineContext& m);

}  // namespace kelvox::sound
