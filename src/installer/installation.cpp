// The copy, shortcut and registration steps of an installation.
#include "installer/installation.h"

#include "installer/destination.h"
#include "installer/host_paths.h"
#include "installer/messages.h"
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
    if (!createFolderPath(state_.installationFolder, services_.files, ui_)) ++errors_;
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
  // The destination's folders below (and including) its base; a failure skips the entry.
  if (!createFolderPath(folderOf(entry.destination), services_.files, ui_)) {
    ++errors_;
    return;
  }
  std::string source = findWithoutCase(services_.files, state_.installerFolder, entry.source);
  // The installer and the main program must stay runnable even from media without modes.
  bool executable = n == -1 || n == 1;
  switch (services_.files.copyFile(source, entry.destination, executable)) {
    case CopyResult::Copied: break;
    case CopyResult::InUse: error(entry.destination + text::kInUseAfterPath); break;
    case CopyResult::Failed: error(entry.source + text::kCopyFailedAfterPath); break;
  }
}

void Installation::writeUninstallEntry() {
  auto& registry = services_.registry;
  if (!registry.createKey(RootKey::LocalMachine, state_.uninstallKey)) return;
  registry.setValue(RootKey::LocalMachine, state_.uninstallKey, "DisplayName", state_.title);
  registry.setValue(RootKey::LocalMachine, state_.uninstallKey, "UninstallString",
                    "\"" + state_.installationFolder + state_.installerFileName + "\" /r");
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
