// Shortcuts of an installation: made in the last progress step and removed by uninstallation.
// On the new shell they are Desktop Entry files in the "Programs", "Desktop" and "Startup"
// folders (a start-menu group is a subfolder named after the title, shown as a submenu through
// a merged menu file); on the old shell they are Program Manager commands.
#pragma once

#include "installer/run_state.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer {

// With the resident flag one startup shortcut; otherwise a start-menu entry (the Group items,
// or one item for the main program) and a desktop shortcut as chosen. A shortcut that cannot
// be made is a warning. Returns how many shortcuts could not be made.
int makeShortcuts(const RunState& state, Services& services, Ui& ui);

// Removes shortcuts of all three kinds, whatever was chosen at installation. Silent.
void removeShortcuts(const RunState& state, Services& services);

}  // namespace kelvox::installer
