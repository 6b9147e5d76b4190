// The three modes of the installer program over the logic and a user interface.
#include "installer/app.h"

#include "installer/host_paths.h"
#include "installer/messages.h"
#include "installer/self_deletion.h"
#include "installer/uninstall.h"
#include "installer/wizard.h"

namespace kelvox::installer {
namespace {

using platform::installer::RootKey;

std::optional<RunState> readConfiguration(const std::string& programPath, Services& services, Ui& ui) {
  std::optional<RunState> state = startUp(folderOf(programPath), fileNameOf(programPath), services.folders,
                                          services.registry, services.files);
  if (!state) ui.message({text::kBrokenConfig, "", Buttons::Ok, Icon::Error});
  return state;
}

int runWizard(RunState& state, const Options& options, Services& services, Ui& ui) {
  WizardSettings settings;
  settings.folder = options.folder;
  settings.startMenu = options.startMenu;
  settings.desktop = options.desktop;
  settings.startAtFinish = !options.noStart;
  Wizard wizard(state, services, ui, settings);
  if (ui.runWizard(wizard) == WizardOutcome::Cancelled) return kExitCancelled;
  return wizard.hadErrors() ? kExitWithErrors : kExitDone;
}

int runUninstallerCopy(const CommandLine& cl, const std::string& selfPath, Services& services, Ui& ui) {
  std::optional<RunState> state = readConfiguration(cl.copyOf, services, ui);
  if (!state) return kExitBroken;
  state->installationFolder = state->installerFolder;
  UninstallDialog dialog(*state, services, ui);
  ui.runUninstallDialog(dialog);
  // Only the copy that the request put into the system folder deletes itself; an installer
  // started with "x" by hand from anywhere else is left alone.
  if (folderOf(selfPath) == services.folders.systemFolder) scheduleSelfDeletion(selfPath, services);
  return dialog.succeeded() ? kExitDone : kExitWithErrors;
}

}  // namespace

int runProgram(const CommandLine& cl, const std::string& selfPath, Services& services, Ui& ui) {
  if (cl.mode == Mode::UninstallerCopy) return runUninstallerCopy(cl, selfPath, services, ui);
  std::optional<RunState> state = readConfiguration(selfPath, services, ui);
  if (!state) return kExitBroken;
  if (cl.mode == Mode::UninstallRequest)
    return requestUninstall(*state, services, ui, selfPath, optionsForCopy(cl.options));
  return runWizard(*state, cl.options, services, ui);
}

std::string installedList(const platform::installer::RegistryStore& registry) {
  std::string out;
  for (size_t i = 0;; ++i) {
    std::optional<std::string> name = registry.enumKey(RootKey::LocalMachine, kUninstallKeys, i);
    if (!name) return out;
    std::string key = std::string(kUninstallKeys) + "\\" + *name;
    std::string title = registry.queryValue(RootKey::LocalMachine, key, "DisplayName").value_or(*name);
    std::string command = registry.queryValue(RootKey::LocalMachine, key, "UninstallString").value_or("");
    out += title + "\t" + command + "\n";
  }
}

}  // namespace kelvox::installer
