// The two processes of uninstallation. The copy in the installation folder, started with
// "/r", asks for confirmation, copies itself into the system folder and starts that copy with
// "x" and its own path; the copy, in its progress dialog, removes the installation and reports.
// Both run only for the installation that the uninstall entry names: an uninstaller started
// from any other folder (a distribution unpacked in ~/Downloads, an old copy) refuses with a
// message and never cleans the folder it happens to run from.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "installer/install_record.h"
#include "installer/run_state.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer {

// The installation the uninstall entry names, when [programPath]'s folder is that installation
// (real paths compared). Otherwise shows why not — not installed, or installed elsewhere with
// the command to use — and returns nullopt.
struct Registration {
  std::string folder;                   // real path, trailing '/'
  std::optional<InstallRecord> record;  // nullopt for an installation made before records
};
std::optional<Registration> registeredInstallation(const RunState& state, Services& services, Ui& ui,
                                                   const std::string& programPath);

// The uninstall request. [selfPath] is the running file; [passOn] are options handed to the
// copy (--text, --yes). The copy is waited for, so that a terminal or a script sees its
// result: returns its exit status, 2 on Cancel, 3 when it could not be started.
int requestUninstall(const RunState& state, Services& services, Ui& ui, const std::string& selfPath,
                     const std::vector<std::string>& passOn);

// The uninstall progress dialog's logic (dialog 101): its texts, and the removal that runs
// when its 300 ms timer fires.
class UninstallDialog {
 public:
  UninstallDialog(const RunState& state, std::optional<InstallRecord> record, Services& services, Ui& ui);
  std::string caption() const;                        // title + "の削除"
  std::string initialText() const;                    // "削除しています..."
  std::string closeButton() const;                    // "終了"
  // Runs the removal; returns the dialog's new text.
  std::string run();
  bool succeeded() const { return succeeded_; }

 private:
  const RunState& state_;
  std::optional<InstallRecord> record_;
  Services& services_;
  Ui& ui_;
  bool succeeded_ = false;
};

}  // namespace kelvox::installer
