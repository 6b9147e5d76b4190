// One run of the installer program, after the command line has been read: the configuration
// is read first in every mode, then the wizard, the uninstall request or the uninstaller copy
// runs. The program's exit statuses are defined here.
#pragma once

#include <string>

#include "installer/command_line.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer {

inline constexpr int kExitDone = 0;
inline constexpr int kExitBroken = 1;      // configuration missing or broken, bad command line
inline constexpr int kExitCancelled = 2;   // the user cancelled, or an unattended run was refused
inline constexpr int kExitWithErrors = 3;  // finished, but something was reported and skipped

// Runs [commandLine]'s mode (Wizard, UninstallRequest or UninstallerCopy) for the program
// file [selfPath] and returns the exit status.
int runProgram(const CommandLine& commandLine, const std::string& selfPath, Services& services, Ui& ui);

// What is wrong with the registry store, as the message the user reads; "" when it can be
// used (also when it does not exist yet). A store that is wrong is never written.
std::string registryProblemText(const platform::installer::RegistryStore& registry);

// The installed games in the uninstall entries: one line per entry, its display name, a tab
// and its uninstall command, escaped for a terminal.
std::string installedList(const platform::installer::RegistryStore& registry);

}  // namespace kelvox::installer
