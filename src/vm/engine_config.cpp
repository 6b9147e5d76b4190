// Reading Kelvox.ini and finding the CD-ROM it names.
#include "vm/engine_config.h"

#include <algorithm>

#include "common/file_errors.h"
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
constexpr uint64_t kMaxConfigBytes = 1 << 20;  // a profile of a few lines; more is not one

// Kelvox.ini as a profile: all defaults when it is missing; a file error in the engine's
// words when something else is there (a folder, a FIFO, an unreadable file).
platform::Profile loadConfig(MachineContext& m) {
  platform::ReadFailure failure;
  auto bytes = platform::readRegularFile(m.platform.paths.resolve("Kelvox.ini"), kMaxConfigBytes, &failure);
  if (bytes) return platform::Profile::parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (failure.kind != platform::ReadFailure::Kind::Missing)
    common::raiseUnreadable("Kelvox.ini", failure);
  return {};
}
}  // namespace

std::optional<platform::Volume> findCdVolume(platform::Volumes& volumes, std::string_view label) {
  std::string wanted = platform::sjisToLower(label.substr(0, std::min(label.size(), kVolumeNameLength)));
  for (const auto& v : volumes.list()) {
    std::string name = v.label.substr(0, std::min(v.label.size(), kVolumeNameLength));
    if (platform::sjisToLower(name) == wanted) return v;
  }
  return std::nullopt;
}

std::optional<std::string> findCdDrive(platform::Volumes& volumes, std::string_view label) {
  auto volume = findCdVolume(volumes, label);
  if (!volume) return std::nullopt;
  return std::string{volume->letter, ':'};
}

std::string searchPathFor(const platform::Paths& paths, std::string_view label, std::string path) {
  if (label.empty() || !paths.volumes()) return {};
  auto drive = findCdDrive(*paths.volumes(), label);
  if (!drive) return {};
  if (!paths.isFolder(*drive + path)) return {};
  if (!platform::endsWithSjisChar(path, '\\')) path += '\\';
  return *drive + path;
}

void readEngineConfig(MachineContext& m) {
  platform::Profile profile = loadConfig(m);
  m.searchPath.clear();
  std::string label = profile.getString("SearchPath", "Label", "", kProfileBuffer);
  if (!label.empty()) {
    std::string path = profile.getString("SearchPath", "Path", "\\", kProfileBuffer);
    m.searchPath = searchPathFor(m.platform.paths, label, path);
  }
  m.fontName = profile.getString("Font", "Name", platform::toSjis("ＭＳ ゴシック"), kProfileBuffer);
}

}  // namespace kelvox::vm
