// Destination checks and folder-path creation.
#include "installer/destination.h"

#include "installer/host_paths.h"
#include "installer/messages.h"

namespace kelvox::installer {
namespace {

using platform::installer::PathKind;

void showError(Ui& ui, const std::string& text) { ui.message({text, "", Buttons::Ok, Icon::Error}); }

}  // namespace

bool createFolderPath(const std::string& path, platform::installer::FileOps& files, Ui& ui) {
  if (path.empty() || path.front() != '/') return false;
  // Each level without its trailing separator: "/a", "/a/b", …; the root itself is accepted.
  for (size_t start = 1; start <= path.size();) {
    size_t cut = path.find('/', start);
    if (cut == std::string::npos) cut = path.size();
    if (cut > start) {
      std::string level = path.substr(0, cut);
      switch (files.kind(level, true)) {
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
          break;
      }
    }
    start = cut + 1;
  }
  return true;
}

DestinationResult acceptDestination(const std::string& field, RunState& state, Services& services, Ui& ui) {
  std::string folder = field;
  if (folder == "~" || folder.rfind("~/", 0) == 0) folder = services.folders.home + folder.substr(folder.size() == 1 ? 1 : 2);
  if (folder.empty() || folder.back() != '/') folder += '/';
  state.installationFolder = folder;

  bool absolute = folder.front() == '/';
  if (field.empty() || (absolute && (normalFolder(folder) == "/" || normalFolder(folder) == services.folders.home))) {
    showError(ui, text::kRootFolder);
    return DestinationResult::Stay;
  }
  if (!absolute) {
    showError(ui, text::kNeedFullPath);
    return DestinationResult::Stay;
  }
  folder = normalFolder(folder);
  state.installationFolder = folder;

  // Only whether the folder can be made is tested here; step 0 makes it for good.
  if (services.files.kind(folder, true) != PathKind::Folder) {
    if (!createFolderPath(folder, services.files, ui)) return DestinationResult::Stay;
    services.files.removeFolder(folder);
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
