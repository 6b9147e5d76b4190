// Removing an installation, run by the uninstaller copy: the Reg keys, the installed files,
// what remains in the installation folder (asking for each file the game left), the uninstall
// entry and the shortcuts.
#pragma once

#include <optional>

#include "installer/install_record.h"
#include "installer/run_state.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer {

// True when everything was removed. Stops early only when the main program cannot be deleted
// (the game runs); Cancel on a file question ends the folder clean-up only.
//
// With the installation's [record] (state.installationFolder is then its folder), the files it
// lists go, and the folders it created at or below the installation folder are cleaned up
// with their leftovers; folders that existed before are never emptied. Without one, only the
// configuration's own files go, and folders only when that leaves them empty. Nothing is
// deleted through a symbolic link.
bool removeInstallation(const RunState& state, const std::optional<InstallRecord>& record, Services& services,
                        Ui& ui);

}  // namespace kelvox::installer
