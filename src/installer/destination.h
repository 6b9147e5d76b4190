// The destination page's checks when Next is pressed, and the folder-path creation that the
// page and the copy steps share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "installer/run_state.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer {

// 10 485 760 (0xA00000): below this free-space figure (about 100 MB free) the user is asked.
inline constexpr uint64_t kLowSpaceFigure = 0xA00000;

// Creates every missing level of the absolute folder [path], from the root down. An existing
// folder (or, down to [linksAllowedTo], a link to one) is accepted; a failure to create a level,
// or a file or link in its place, is shown with the level's path (default caption, error icon)
// and ends the creation: false. The real paths of the levels it made are added to [created].
bool createFolderPath(const std::string& path, platform::installer::FileOps& files, Ui& ui,
                      std::vector<std::string>* created = nullptr, const std::string& linksAllowedTo = "");

// True when a launcher can name [folder]: Desktop Entry files are UTF-8 and a control
// character in a path breaks their Exec and Path lines.
bool launcherCanName(std::string_view folder);

enum class DestinationResult { Stay, Options, Progress };

// Next on the destination page with [field] as typed. Sets the installation folder (with a
// trailing '/'; a leading "~" means the home folder), then refuses the root and the home
// folder (the "drive root", compared as real paths), relative paths and folders no launcher
// can name, tests that the folder can be made, and asks
// before installing with little free space. Options next, or straight to Progress for a
// resident program; Stay after any refusal or No.
DestinationResult acceptDestination(const std::string& field, RunState& state, Services& services, Ui& ui);

}  // namespace kelvox::installer
