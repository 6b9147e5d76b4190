// Instruction group 0x800A: the script's music (play once or looping, stop, query, volume) on
// the machine's MidiPlayer. Pieces are found by resolveMidiFile (sound_files.h).
#pragma once

#include <cstdint>

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::sound {

// Handles a word of group 0x800A; 0 if known, 1 if not (see vm/groups.h).
int midiGroup(vm::MachineContext& m, uint32_t word);

}  // namespace kelvox::sound
