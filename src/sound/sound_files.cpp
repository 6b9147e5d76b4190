// The platform's file services under the sound players' file names.
#include "sound/sound_files.h"

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kelvox::sound {

namespace {
constexpr size_t kMaxPath = 260;  // bytes with the NUL, as Windows counted them
}

std::optional<std::string> findSoundFile(SoundFiles& files, std::string_view searchPath, std::string_view folder,
                                         std::string_view file) {
  if (!platform::isConfinedName(file)) return std::nullopt;
  for (std::string_view prefix : {std::string_view(), searchPath}) {
    std::string path = std::string(prefix) + std::string(folder) + std::string(file);
    if (path.size() >= kMaxPath) return std::nullopt;
    if (files.exists(path)) return path;
  }
  return std::nullopt;
}

std::optional<std::string> resolveWavFile(SoundFiles& files, std::string_view searchPath, std::string_view name) {
  return findSoundFile(files, searchPath, "Wav\\", std::string(name) + ".wav");
}

std::optional<std::string> resolveMidiFile(SoundFiles& files, std::string_view searchPath, std::string_view name) {
  return findSoundFile(files, searchPath, "Midi\\", name);
}

bool PlatformSoundFiles::exists(std::string_view sjisName) { return paths_.isFile(sjisName); }

std::optional<std::vector<uint8_t>> PlatformSoundFiles::read(std::string_view sjisName, uint64_t maxBytes) {
  return paths_.read(sjisName, maxBytes, nullptr);
}

}  // namespace kelvox::sound
