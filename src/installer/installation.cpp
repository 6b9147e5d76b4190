// The copy, shortcut and registration steps of an installation.
#include "installer/installation.h"

#include "installer/destination.h"
#include "installer/host_paths.h"
#include "installer/messages.h"
#include "installer/registry_tree.h"
#include "installer/shortcuts.h"

namespace kelvox::installer {

using platform::installer::CopyResult;
using platform::installer::RootKey;

Installation::Installation(RunState& state, Services& services, Ui& ui)
    : state_(state), services_(services), ui_(ui) {}

void Installation::error(const std::string& text) {
  ++errors_;
  ui_.message({text, "", Buttons::Ok, Icon::Error});
}

void Installation::runStep(int step) {
  int n = state_.fileCount();
  if (step == 0) {
    if (!createFolderPath(state_.installationFolder, services_.files, ui_, &record_.folders)) ++errors_;
    record_.folder = services_.files.realPath(state_.installationFolder);
  } else if (step >= 1 && step <= n + 2) {
    copyEntry(step - 2);
  } else if (step == n + 3) {
    errors_ += makeShortcuts(state_, services_, ui_);
    writeUninstallEntry();
  }
}

void Installation::copyEntry(int n) {
  FileEntryPaths entry = fileEntry(state_, services_.folders, n);
  if (entry.outside) {
    error(entry.source + text::kOutsideFolderAfterPath);
    return;
  }
  std::optional<std::string> source = sourcePath(entry.source);
  if (!source) {
    error(entry.source + text::kSourceOutsideAfterPath);
    return;
  }
  // The destination's folders below (and including) its base; a failure skips the entry. A
  // link below the base stops it too: the copy would land behind the link.
  auto& files = services_.files;
  std::vector<std::string> created;
  bool folderMade = createFolderPath(folderOf(entry.destination), files, ui_, &created, entry.baseFolder);
  record_.folders.insert(record_.folders.end(), created.begin(), created.end());
  if (!folderMade) {
    ++errors_;
    return;
  }
  // The installer and the main program must stay runnable even from media without modes.
  bool executable = n == -1 || n == 1;
  switch (files.copyFile(*source, entry.destination, executable)) {
    case CopyResult::Copied:
      if (entry.cleanable) record_.files.push_back(files.realPath(entry.destination));
      break;
    case CopyResult::InUse: error(entry.destination + text::kInUseAfterPath); break;
    case CopyResult::Failed: error(entry.source + text::kCopyFailedAfterPath); break;
  }
}

std::optional<std::string> Installation::sourcePath(const std::string& relative) const {
  std::optional<std::string> inside = confinedPath(relative);
  if (!inside || inside->empty()) return std::nullopt;
  std::string path = findWithoutCase(services_.files, state_.installerFolder, *inside);
  // A link inside the distribution may point anywhere; what it leads to must be inside too.
  std::string distribution = services_.files.realPath(state_.installerFolder);
  if (!isAtOrBelow(services_.files.realPath(path), distribution)) return std::nullopt;
  return path;
}

void Installation::writeUninstallEntry() {
  auto& registry = services_.registry;
  // A reinstallation into the same folder keeps what the earlier one made; an entry for
  // another folder is replaced with the whole key, so no stale record value stays behind.
  if (std::optional<InstallRecord> earlier = readInstallRecord(registry, state_.uninstallKey)) {
    if (earlier->folder == record_.folder) record_.mergeEarlier(*earlier);
  }
  deleteRegistryTree(registry, RootKey::LocalMachine, state_.uninstallKey);
  if (!registry.createKey(RootKey::LocalMachine, state_.uninstallKey)) return;
  std::vector<std::pair<std::string, std::string>> values = {
      {"DisplayName", state_.title},
      {"UninstallString", uninstallCommand(state_.installationFolder + state_.installerFileName)}};
  std::vector<std::pair<std::string, std::string>> recorded = recordValues(record_);
  values.insert(values.end(), recorded.begin(), recorded.end());
  registry.setValues(RootKey::LocalMachine, state_.uninstallKey, values);
}

bool Installation::finish() {
  bool started = false;
  if (state_.fileCount() >= 1) {
    FileEntryPaths main = fileEntry(state_, services_.folders, 1);
    started = !main.outside && services_.processes.start(main.destination, {}, state_.installationFolder);
  }
  std::string open = hostPath(state_.config.open);
  if (!open.empty()) {
    if (std::optional<std::string> inside = confinedPath(open))
      services_.processes.openDocument(state_.installationFolder + *inside);
  }
  return started;
}

}  // namespace kelvox::installer
