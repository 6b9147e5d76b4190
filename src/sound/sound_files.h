// How the sound players reach their files: by the engine's Shift-JIS backslash names
// ("Wav\se01.wav", a search-path name on a disc), through the platform's paths and file
// services. Tests hand a player their own SoundFiles to count or fail the reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kelvox::platform {
class Paths;
}

namespace kelvox::sound {

class SoundFiles {
 public:
  virtual ~SoundFiles() = default;
  // True when [sjisName] names an existing regular file.
  virtual bool exists(std::string_view sjisName) = 0;
  // The whole file [sjisName], or nullopt when it cannot be read.
  virtual std::optional<std::vector<uint8_t>> read(std::string_view sjisName) = 0;
};

// The files of the game folder and the volumes, through [paths].
class PlatformSoundFiles final : public SoundFiles {
 public:
  explicit PlatformSoundFiles(const platform::Paths& paths) : paths_(paths) {}
  bool exists(std::string_view sjisName) override;
  std::optional<std::vector<uint8_t>> read(std::string_view sjisName) override;

 private:
  const platform::Paths& paths_;
};

}  // namespace kelvox::sound
