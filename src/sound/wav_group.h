// Instruction group 0x800B: the script's WAV channels (play, play looping, stop, query,
// volumes and pans) on the machine's WavPlayer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::sound {

class SoundFiles;

// Handles a word of group 0x800B; 0 if known, 1 if not (see vm/groups.h).
int wavGroup(vm::MachineContext& m, uint32_t word);

// The file a script's sound [name] plays from: name + ".wav" below the program's folder
// ("Wav\" + file), else below the disc's search path [searchPath]; nullopt when neither exists,
// or the name would leave Wav\ or make a path of 260 bytes or more (the original's MAX_PATH).
std::optional<std::string> resolveWavFile(SoundFiles& files, std::string_view searchPath, std::string_view name);

}  // namespace kelvox::sound
