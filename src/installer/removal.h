// Removing an installation, run by the uninstaller copy: the Reg keys, the installed files,
// what remains in the installation folder (asking for each file the game left), the uninstall
// entry and the shortcuts.
#pragma once

#include "installer/run_state.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer {

// True when everything was removed. Stops early only when the main program cannot be deleted
// (the game runs); Cancel on a file question ends the folder clean-up only.
bool removeInstallation(const RunState& state, Services& services, Ui& ui);

}  // namespace kelvox::installer
