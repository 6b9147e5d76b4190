// The uninstall request and the uninstaller copy's dialog logic.
#include "installer/uninstall.h"

#include "installer/messages.h"
#include "installer/removal.h"

namespace kelvox::installer {

int requestUninstall(const RunState& state, Services& services, Ui& ui, const std::string& selfPath,
                     const std::vector<std::string>& passOn) {
  std::string question = state.title + text::kConfirmAfterTitle;
  if (state.resident) question += text::kResidentWarning;
  if (ui.message({question, state.title, Buttons::OkCancel, Icon::Information}) != Answer::Ok) return 2;

  const std::string& system = services.folders.systemFolder;
  for (size_t cut = system.find('/', 1); cut != std::string::npos; cut = system.find('/', cut + 1)) {
    std::string level = system.substr(0, cut);
    if (services.files.kind(level, true) != platform::installer::PathKind::Folder) services.files.makeFolder(level);
  }
  // A failed copy must not start an older copy left from an earlier run.
  std::string copy = system + state.installerFileName;
  bool copied = services.files.copyFile(selfPath, copy, true) == platform::installer::CopyResult::Copied;

  std::vector<std::string> args = {"x", selfPath};
  args.insert(args.end(), passOn.begin(), passOn.end());
  std::optional<int> status;
  if (copied) status = services.processes.run(copy, args, system);
  if (!status) {
    ui.message({text::kUninstallerStartFailed, "", Buttons::Ok, Icon::Error});
    return 3;
  }
  return *status;
}

UninstallDialog::UninstallDialog(const RunState& state, Services& services, Ui& ui)
    : state_(state), services_(services), ui_(ui) {}

std::string UninstallDialog::caption() const { return state_.title + text::kUninstallItemAfterTitle; }
std::string UninstallDialog::initialText() const { return text::kRemoving; }
std::string UninstallDialog::closeButton() const { return text::kCloseButton; }

std::string UninstallDialog::run() {
  succeeded_ = removeInstallation(state_, services_, ui_);
  return succeeded_ ? state_.title + text::kRemovedAfterTitle
                    : state_.installationFolder + text::kFilesRemainAfterFolder;
}

}  // namespace kelvox::installer
