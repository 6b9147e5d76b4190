// Where the installer's Windows folders live on Linux: the user's home stands in for the root of
// the Windows drive, ~/Games for "Program Files", two per-user folders under the XDG data folder
// for the Windows and system folders, and the XDG folders behind the shell folders "Programs",
// "Desktop" and "Startup". Everything is read from the environment at the moment of the call, so
// tests can point it at temporary folders. Every folder is an absolute path with a trailing '/'.
#pragma once

#include <string>
#include <string_view>

namespace kelvox::platform::installer {

struct HostFolders {
  std::string home;            // the "drive root"
  std::string programFiles;    // home + "Games/"
  std::string windowsFolder;   // data + "kelvox/windows/" (W! entries, WININIT.INI)
  std::string systemFolder;    // data + "kelvox/system/" (S! entries, the running uninstaller)
  std::string programs;        // data + "applications/": "Programs"
  std::string desktop;         // XDG_DESKTOP_DIR, else home + "Desktop/": "Desktop"
  std::string startup;         // config + "autostart/": "Startup"
  std::string menuFiles;       // config + "menus/applications-merged/" (submenus of groups)
  std::string directoryFiles;  // data + "desktop-directories/" (their names)
  std::string registryFile;    // data + "kelvox/registry.reg"
  std::string runtimeFolder;   // XDG_RUNTIME_DIR, else "/tmp/kelvox-<uid>/" (the game's lock)
};

// The folders for the current environment: HOME (else the password database), XDG_DATA_HOME,
// XDG_CONFIG_HOME and XDG_RUNTIME_DIR when they are absolute, else their defaults.
HostFolders hostFoldersFromEnvironment();

// The desktop folder named by the text of a user-dirs.dirs file, the way xdg-user-dir reads it:
// the line XDG_DESKTOP_DIR="$HOME/…" or "/…"; empty when the text names none. [home] has a
// trailing '/'. The result has a trailing '/'.
std::string desktopFromUserDirs(std::string_view userDirsText, std::string_view home);

// [path] with exactly one trailing '/' ("" stays "").
std::string withTrailingSlash(std::string path);

}  // namespace kelvox::platform::installer
