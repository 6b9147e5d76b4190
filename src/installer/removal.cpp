// The five removal steps of uninstallation, limited to what the installation made.
#include "installer/removal.h"

#include <algorithm>
#include <set>

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

  // False when the main program could not be deleted: the removal stops there. With a
  // [record], only files it lists are deleted; without one (an older installation), the
  // configuration's own files. Either way only where no link lies on the way.
  bool removeFiles(const InstallRecord* record, bool& ok) {
    std::set<std::string> listed;
    if (record) listed.insert(record->files.begin(), record->files.end());
    for (int n = state_.fileCount(); n >= -1; --n) {
      FileEntryPaths entry = fileEntry(state_, services_.folders, n);
      if (!entry.cleanable || entry.outside) continue;
      std::string path = services_.files.realPath(entry.destination);
      if ((record && listed.erase(path) == 0) || !isOwnFile(path)) continue;
      if (!removeFile(path, n == 1)) {
        ok = false;
        if (n == 1) return false;
      }
    }
    // Files the record lists that the configuration no longer names.
    for (const auto& path : listed)
      if (isOwnFile(path) && !removeFile(path, false)) ok = false;
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

  // The folders the installation created at or below its folder, with what the game left
  // in them (asking about each file); the ones it created above or beside it (~/Games, the
  // Windows folder's levels) only when they are empty, as other games may share them.
  bool cleanCreatedFolders(const InstallRecord& record) {
    bool ok = true;
    std::set<std::string> created(record.folders.begin(), record.folders.end());
    for (const auto& folder : record.folders) {
      if (!isAtOrBelow(folder, record.folder)) continue;
      std::string parent = folderOf(folder.substr(0, folder.size() - 1));
      if (created.count(parent) && isAtOrBelow(parent, record.folder)) continue;  // cleaned with its parent
      if (!isOwnFolder(folder)) {
        // Replaced by a link or a file since: left alone, and reported as left.
        if (services_.files.kind(folder) != PathKind::None) ok = false;
        continue;
      }
      Outcome outcome = cleanFolder(folder);
      if (outcome != Outcome::Removed) ok = false;
      if (outcome == Outcome::Cancelled) break;
    }
    for (auto it = record.folders.rbegin(); it != record.folders.rend(); ++it)
      if (!isAtOrBelow(*it, record.folder) && isOwnFolder(*it)) services_.files.removeFolder(*it);
    return ok;
  }

  // An older installation without a record: no folder is proven to be its own, so folders are
  // only removed when the configuration's files leave them empty; what remains is reported.
  bool removeEmptiedFolders() {
    std::vector<std::string> folders;
    for (int n = state_.fileCount(); n >= 1; --n) {
      FileEntryPaths entry = fileEntry(state_, services_.folders, n);
      if (!entry.outside && entry.baseFolder == state_.installationFolder)
        for (std::string f = folderOf(entry.destination); f.size() > entry.baseFolder.size(); f = folderOf(f.substr(0, f.size() - 1)))
          folders.push_back(f);
    }
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const auto& f : folders)
      if (isOwnFolder(f)) services_.files.removeFolder(f);
    const std::string& folder = state_.installationFolder;
    if (isOwnFolder(folder)) services_.files.removeFolder(folder);
    return services_.files.kind(folder) == PathKind::None;
  }

 private:
  void error(const std::string& message) { ui_.message({message, "", Buttons::Ok, Icon::Error}); }

  // A path that is its own real path has no link on the way: deleting it cannot reach
  // anything behind one.
  bool isOwnFolder(const std::string& folder) const {
    return services_.files.kind(folder) == PathKind::Folder && services_.files.realPath(folder) == folder;
  }
  bool isOwnFile(const std::string& path) const {
    return services_.files.kind(path) == PathKind::File && isOwnFolder(folderOf(path));
  }

  // Deletes [path], with the skip message on failure; [mainProgram] adds the message that the
  // game must end first.
  bool removeFile(const std::string& path, bool mainProgram) {
    // On Windows the running game's file cannot be deleted; here the game's lock says so.
    bool deleted = !(mainProgram && services_.gameRunning && services_.gameRunning()) &&
                   services_.files.removeFile(path);
    if (deleted) return true;
    error(path + text::kSkipAfterPath);
    if (mainProgram)
      error(path + text::kMainDeleteFailedAfterPath + state_.title + text::kQuitAndRetryAfterTitle);
    return false;
  }

  const RunState& state_;
  Services& services_;
  Ui& ui_;
};

}  // namespace

bool removeInstallation(const RunState& state, const std::optional<InstallRecord>& record, Services& services,
                        Ui& ui) {
  Remover remover(state, services, ui);
  bool ok = true;
  remover.removeRegKeys();
  if (!remover.removeFiles(record ? &*record : nullptr, ok)) return false;
  if (!(record ? remover.cleanCreatedFolders(*record) : remover.removeEmptiedFolders())) ok = false;
  deleteRegistryTree(services.registry, platform::installer::RootKey::LocalMachine, state.uninstallKey);
  removeShortcuts(state, services);
  return ok;
}

}  // namespace kelvox::installer
