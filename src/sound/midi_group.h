// Instruction group 0x800A: the script's music (play once or looping, stop, query, volume) on
// the machine's MidiPlayer.
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

// Handles a word of group 0x800A; 0 if known, 1 if not (see vm/groups.h).
int midiGroup(vm::MachineContext& m, uint32_t word);

// The file a script's piece [name] plays from: the name as given (no extension added) below
// the program's folder ("Midi\" + name), else below the disc's search path [searchPath];
// nullopt when neither exists, or the name would leave Midi\ or make a path of 260 bytes or more.
std::optional<std::string> resolveMidiFile(SoundFiles& files, std::string_view searchPath, std::string_view name);

}  // namespace kelvox::sound
