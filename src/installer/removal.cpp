// The five removal steps of uninstallation.
#include "installer/removal.h"

#include "installer/host_paths.h"
#include "installer/messages.h"
#include "installer/registry_tree.h"
#include "installer/shortcuts.h"
#include "platform/text_encoding.h"

namespace kelvox::installer {
namespace {

using platform::installer::PathKind;

enum class Outcome { Removed, Failed, Cancelled };

bool isHelpIndex(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot != std::string::npos && platform::sjisCompareNoCase(name.substr(dot + 1), "gid") == 0;
}

class Remover {
 public:
  Remover(const RunState& state, Services& services, Ui& ui) : state_(state), services_(services), ui_(ui) {}

  void removeRegKeys() {
    for (const auto& value : state_.config.regKeys) {
      std::optional<RegSpec> spec = splitRegEntry(value);
      if (!spec) {
        error(text::kBadRegSection);
        continue;  // the entry names no key we could delete
      }
      std::string path = platform::sjisToUtf8(spec->subkey);
      while (!path.empty() && path.back() == '\\') path.pop_back();
      deleteRegistryTree(services_.registry, spec->root, path);
    }
  }

  // False when the main program could not be deleted: the removal stops there.
  bool removeFiles(bool& ok) {
    for (int n = state_.fileCount(); n >= -1; --n) {
      FileEntryPaths entry = fileEntry(state_, services_.folders, n);
      if (!entry.cleanable || entry.outside) continue;
      if (services_.files.kind(entry.destination) != PathKind::File) continue;
      // On Windows the running game's file cannot be deleted; here the game's lock says so.
      bool deleted = !(n == 1 && services_.gameRunning && services_.gameRunning()) &&
                     services_.files.removeFile(entry.destination);
      if (deleted) continue;
      error(entry.destination + text::kSkipAfterPath);
      ok = false;
      if (n == 1) {
        error(entry.destination + text::kMainDeleteFailedAfterPath + state_.title + text::kQuitAndRetryAfterTitle);
        return false;
      }
    }
    return true;
  }

  // [folder] has a trailing '/'. Links are removed as files, never followed.
  Outcome cleanFolder(const std::string& folder) {
    Outcome result = Outcome::Removed;
    for (const auto& name : services_.files.list(folder)) {
      std::string path = folder + name;
      if (services_.files.kind(path) == PathKind::Folder) {
        Outcome sub = cleanFolder(path + "/");
        if (sub != Outcome::Removed) return sub;
        continue;
      }
      if (!isHelpIndex(name)) {
        Answer a = ui_.message({path + text::kAskDeleteAfterPath, state_.title, Buttons::YesNoCancel, Icon::Question});
        if (a == Answer::Cancel) return Outcome::Cancelled;
        if (a != Answer::Yes) continue;
      }
      if (!services_.files.removeFile(path)) {
        error(path + text::kSkipAfterPath);
        result = Outcome::Failed;
      }
    }
    std::string shown = folder.substr(0, folder.size() - 1);
    if (!services_.files.removeFolder(folder)) {
      error(shown + text::kFolderDeleteFailedAfterPath);
      result = Outcome::Failed;
    }
    return result;
  }

 private:
  void error(const std::string& message) { ui_.message({message, "", Buttons::Ok, Icon::Error}); }

  const RunState& state_;
  Services& services_;
  Ui& ui_;
};

}  // namespace

bool removeInstallation(const RunState& state, Services& services, Ui& ui) {
  Remover remover(state, services, ui);
  bool ok = true;
  remover.removeRegKeys();
  if (!remover.removeFiles(ok)) return false;

  // The folder clean-up asks about every file in it: never run it on the root or the home
  // folder, whatever the command line named.
  std::string folder = normalFolder(state.installationFolder);
  if (state.installationFolder.empty() || state.installationFolder.front() != '/' || folder == "/" ||
      folder == services.folders.home) {
    ok = false;
  } else if (services.files.kind(folder, true) == PathKind::Folder) {
    // The folder itself may be a link the user chose; links inside it are never followed.
    if (remover.cleanFolder(folder) != Outcome::Removed) ok = false;
  }

  deleteRegistryTree(services.registry, platform::installer::RootKey::LocalMachine, state.uninstallKey);
  removeShortcuts(state, services);
  return ok;
}

}  // namespace kelvox::installer
