// How the sound players reach their files: by the engine's Shift-JIS backslash names
// ("Wav\se01.wav", a search-path name on a disc), through the platform's paths and file
// services. Tests hand a player their own SoundFiles to count or fail the reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox::platform {
class Paths;
}

namespace kelvox::sound {

// The largest sound files read; a larger one plays nothing, as any unreadable sound (the
// original's silent failure). A WAV of 64 MiB is six minutes of CD-quality stereo, where the
// game's effects and voices last seconds; a Standard MIDI File of 4 MiB holds about a million
// events, where a long piece has tens of thousands.
inline constexpr uint64_t kMaxWavFileBytes = 64u << 20;
inline constexpr uint64_t kMaxMidiFileBytes = 4u << 20;

class SoundFiles {
 public:
  virtual ~SoundFiles() = default;
  // True when [sjisName] names an existing regular file.
  virtual bool exists(std::string_view sjisName) = 0;
  // The whole file [sjisName], or nullopt when it cannot be read or holds more than
  // [maxBytes] (checked from its size, before anything is read).
  virtual std::optional<std::vector<uint8_t>> read(std::string_view sjisName, uint64_t maxBytes) = 0;
};

// The engine path of the sound file [file] that a script names in [folder] ("Wav\", "Midi\"):
// below the program's folder, else below the disc's search path [searchPath]; nullopt when
// neither exists, or [file] would leave the folder or make a path of 260 bytes or more (the
// original's MAX_PATH, with the NUL).
std::optional<std::string> findSoundFile(SoundFiles& files, std::string_view searchPath, std::string_view folder,
                                         std::string_view file);
// The file a script's sound [name] plays from: findSoundFile of name + ".wav" in "Wav\".
std::optional<std::string> resolveWavFile(SoundFiles& files, std::string_view searchPath, std::string_view name);
// The file a script's piece [name] plays from: findSoundFile of the name as given (no
// extension added) in "Midi\".
std::optional<std::string> resolveMidiFile(SoundFiles& files, std::string_view searchPath, std::string_view name);

// The files of the game folder and the volumes, through [paths].
class PlatformSoundFiles final : public SoundFiles {
 public:
  explicit PlatformSoundFiles(const platform::Paths& paths) : paths_(paths) {}
  bool exists(std::string_view sjisName) override;
  std::optional<std::vector<uint8_t>> read(std::string_view sjisName, uint64_t maxBytes) override;

 private:
  const platform::Paths& paths_;
};

}  // namespace kelvox::sound
