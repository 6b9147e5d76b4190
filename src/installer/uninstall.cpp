// The uninstall request and the uninstaller copy's dialog logic.
#include "installer/uninstall.h"

#include "installer/host_paths.h"
#include "installer/messages.h"
#include "installer/removal.h"

namespace kelvox::installer {

std::optional<Registration> registeredInstallation(const RunState& state, Services& services, Ui& ui,
                                                   const std::string& programPath) {
  using platform::installer::RootKey;
  auto& files = services.files;
  std::optional<std::string> command = services.registry.queryValue(RootKey::LocalMachine, state.uninstallKey, "UninstallString");
  Registration r;
  r.record = readInstallRecord(services.registry, state.uninstallKey);
  if (r.record)
    r.folder = files.realPath(r.record->folder);
  else if (command)
    r.folder = files.realPath(folderFromUninstallString(*command));
  if (r.folder.empty()) {
    ui.message({state.title + text::kNotInstalledAfterTitle, state.title, Buttons::Ok, Icon::Error});
    return std::nullopt;
  }
  std::string here = files.realPath(folderOf(programPath));
  if (here != r.folder) {
    std::string use = command.value_or(uninstallCommand(r.folder + state.installerFileName));
    ui.message({here + text::kNotTheInstallationAfterFolder + use, state.title, Buttons::Ok, Icon::Error});
    return std::nullopt;
  }
  return r;
}

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

UninstallDialog::UninstallDialog(const RunState& state, std::optional<InstallRecord> record, Services& services,
                                 Ui& ui)
    : state_(state), record_(std::move(record)), services_(services), ui_(ui) {}

std::string UninstallDialog::caption() const { return state_.title + text::kUninstallItemAfterTitle; }
std::string UninstallDialog::initialText() const { return text::kRemoving; }
std::string UninstallDialog::closeButton() const { return text::kCloseButton; }

std::string UninstallDialog::run() {
  succeeded_ = removeInstallation(state_, record_, services_, ui_);
  return succeeded_ ? state_.title + text::kRemovedAfterTitle
                    : state_.installationFolder + text::kFilesRemainAfterFolder;
}

}  // namespace kelvox::installer
