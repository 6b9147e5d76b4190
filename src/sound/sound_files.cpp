// The platform's file services under the sound players' file names.
#include "sound/sound_files.h"

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kelvox::sound {

bool PlatformSoundFiles::exists(std::string_view sjisName) { return platform::isRegularFile(paths_.resolve(sjisName)); }

std::optional<std::vector<uint8_t>> PlatformSoundFiles::read(std::string_view sjisName, uint64_t maxBytes) {
  return platform::readRegularFile(paths_.resolve(sjisName), maxBytes, nullptr);
}

}  // namespace kelvox::sound
