// The three modes of the installer program over the logic and a user interface.
#include "installer/app.h"

#include "installer/host_paths.h"
#include "installer/messages.h"
#include "installer/terminal_text.h"
#include "platform/installer/registry_file.h"
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
  // The copy deletes: it checks the registration again rather than trust its command line.
  std::optional<Registration> registration = registeredInstallation(*state, services, ui, cl.copyOf);
  if (!registration) return kExitCancelled;
  state->installationFolder = registration->folder;
  UninstallDialog dialog(*state, registration->record, services, ui);
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
  if (cl.mode == Mode::UninstallRequest) {
    if (!registeredInstallation(*state, services, ui, selfPath)) return kExitCancelled;
    return requestUninstall(*state, services, ui, selfPath, optionsForCopy(cl.options));
  }
  return runWizard(*state, cl.options, services, ui);
}

std::string registryProblemText(const platform::installer::RegistryStore& registry) {
  using Kind = platform::installer::StoreProblem::Kind;
  platform::installer::StoreProblem problem = registry.problem();
  switch (problem.kind) {
    case Kind::None: return {};
    case Kind::Unreadable: return registry.file() + text::kRegistryUnreadableAfterPath;
    case Kind::Damaged:
      return registry.file() + text::kRegistryDamagedLineBefore + std::to_string(problem.line) +
             text::kRegistryDamagedLineAfter;
  }
  return {};
}

std::string installedList(const platform::installer::RegistryStore& registry) {
  // One read of the store for the whole list: thousands of entries stay a single pass.
  std::string out;
  for (const auto& key : registry.subkeysWithValues(RootKey::LocalMachine, kUninstallKeys)) {
    std::string title = key.name, command;
    for (const auto& [name, value] : key.values) {
      if (platform::installer::foldRegistryName(name) == "displayname") title = value;
      if (platform::installer::foldRegistryName(name) == "uninstallstring") command = value;
    }
    out += terminalText(title) + "\t" + terminalText(command) + "\n";
  }
  return out;
}

}  // namespace kelvox::installer
