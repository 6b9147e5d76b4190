// Reading Kelvox.ini and finding the CD-ROM it names.
#include "vm/engine_config.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"
#include "platform/volumes.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

namespace {
constexpr size_t kProfileBuffer = 256;
constexpr size_t kVolumeNameLength = 32;
}  // namespace

std::optional<std::string> findCdDrive(platform::Volumes& volumes, std::string_view label) {
  std::string wanted = platform::sjisToLower(label.substr(0, std::min(label.size(), kVolumeNameLength)));
  for (const auto& v : volumes.list()) {
    std::string name = v.label.substr(0, std::min(v.label.size(), kVolumeNameLength));
    if (platform::sjisToLower(name) == wanted) return std::string{v.letter, ':'};
  }
  return std::nullopt;
}

std::string searchPathFor(const platform::Paths& paths, std::string_view label, std::string path) {
  if (label.empty() || !paths.volumes()) return {};
  auto drive = findCdDrive(*paths.volumes(), label);
  if (!drive) return {};
  if (!platform::isDirectory(paths.resolve(*drive + path))) return {};
  if (!platform::endsWithSjisChar(path, '\\')) path += '\\';
  return *drive + path;
}

void readEngineConfig(MachineContext& m) {
  auto profile = platform::Profile::load(m.platform.paths.resolve("Kelvox.ini"));
  m.searchPath.clear();
  std::string label = profile.getString("SearchPath", "Label", "", kProfileBuffer);
  if (!label.empty()) {
    std::string path = profile.getString("SearchPath", "Path", "\\", kProfileBuffer);
    m.searchPath = searchPathFor(m.platform.paths, label, path);
  }
  m.fontName = profile.getString("Font", "Name", platform::toSjis("ＭＳ ゴシック"), kProfileBuffer);
}

}  // namespace kelvox::vm
