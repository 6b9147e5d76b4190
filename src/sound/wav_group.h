// Instruction group 0x800B: the script's WAV channels (play, play looping, stop, query,
// volumes and pans) on the machine's WavPlayer. Sounds are found by resolveWavFile
// (sound_files.h).
#pragma once

#include <cstdint>

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::sound {

// Handles a word of group 0x800B; 0 if known, 1 if not (see vm/groups.h).
int wavGroup(vm::MachineContext& m, uint32_t word);

}  // namespace kelvox::sound
