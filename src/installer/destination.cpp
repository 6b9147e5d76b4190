// Destination checks and folder-path creation.
#include "installer/destination.h"

#include "installer/host_paths.h"
#include "installer/messages.h"

namespace kelvox::installer {
namespace {

using platform::installer::PathKind;

void showError(Ui& ui, const std::string& text) { ui.message({text, "", Buttons::Ok, Icon::Error}); }

}  // namespace

bool createFolderPath(const std::string& path, platform::installer::FileOps& files, Ui& ui,
                      std::vector<std::string>* created, const std::string& linksAllowedTo) {
  if (path.empty() || path.front() != '/') return false;
  // Each level without its trailing separator: "/a", "/a/b", …; the root itself is accepted.
  for (size_t start = 1; start <= path.size();) {
    size_t cut = path.find('/', start);
    if (cut == std::string::npos) cut = path.size();
    if (cut > start) {
      std::string level = path.substr(0, cut);
      // Below the base folder a link is in the way like a file: nothing is made behind one.
      bool follow = level.size() < linksAllowedTo.size() || linksAllowedTo.empty();
      switch (files.kind(level, follow)) {
        case PathKind::Folder:
          break;
        case PathKind::File:
          showError(ui, level + text::kFileInTheWayAfterPath);
          return false;
        case PathKind::None:
          if (!files.makeFolder(level)) {
            showError(ui, level + text::kFolderCreateFailedAfterPath);
            return false;
          }
          if (created) created->push_back(files.realPath(level + "/"));
          break;
      }
    }
    start = cut + 1;
  }
  return true;
}

bool launcherCanName(std::string_view folder) {
  for (size_t i = 0; i < folder.size();) {
    auto c = static_cast<unsigned char>(folder[i]);
    if (c < 0x20 || c == 0x7F) return false;
    size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > folder.size() || (length == 2 && c < 0xC2)) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(folder[i + k]) & 0xC0) != 0x80) return false;
    if (length == 2 && c == 0xC2 && static_cast<unsigned char>(folder[i + 1]) < 0xA0) return false;  // C1 controls
    i += length;
  }
  return true;
}

DestinationResult acceptDestination(const std::string& field, RunState& state, Services& services, Ui& ui) {
  std::string folder = field;
  if (folder == "~" || folder.rfind("~/", 0) == 0) folder = services.folders.home + folder.substr(folder.size() == 1 ? 1 : 2);
  if (folder.empty() || folder.back() != '/') folder += '/';
  state.installationFolder = folder;

  bool absolute = folder.front() == '/';
  // Real paths: a home reached through a link, or a link to "/", is still refused.
  auto& files = services.files;
  std::string real = absolute ? files.realPath(folder) : std::string();
  if (field.empty() || (absolute && (real == "/" || real.empty() || real == files.realPath(services.folders.home)))) {
    showError(ui, text::kRootFolder);
    return DestinationResult::Stay;
  }
  if (!absolute) {
    showError(ui, text::kNeedFullPath);
    return DestinationResult::Stay;
  }
  folder = normalFolder(folder);
  state.installationFolder = folder;
  if (!launcherCanName(folder)) {
    showError(ui, folder + text::kNoLauncherAfterPath);
    return DestinationResult::Stay;
  }

  // Only whether the folder can be made is tested here; step 0 makes it for good. Every level
  // made for the test goes again (the original kept all but the deepest), so that step 0
  // makes them and the installation's record claims them, and a cancelled wizard leaves none.
  if (services.files.kind(folder, true) != PathKind::Folder) {
    std::vector<std::string> made;
    bool creatable = createFolderPath(folder, services.files, ui, &made);
    for (auto level = made.rbegin(); level != made.rend(); ++level) services.files.removeFolder(*level);
    if (!creatable) return DestinationResult::Stay;
  }

  uint64_t figure = services.files.freeSpaceFigure(folder);
  if (figure < kLowSpaceFigure) {
    std::string question = text::kLowSpaceBefore + std::to_string(figure / 102 / 1024) + text::kLowSpaceAfter;
    if (ui.message({question, state.title, Buttons::YesNo, Icon::Question}) != Answer::Yes)
      return DestinationResult::Stay;
  }
  return state.resident ? DestinationResult::Progress : DestinationResult::Options;
}

}  // namespace kelvox::installer
