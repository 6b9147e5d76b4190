// The state of one installer run, built at start-up from the setup configuration: title,
// folders, flags and the entry lookup that installation and removal share. Texts here are UTF-8
// host forms; the configuration as read (Shift-JIS) is kept alongside.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installer/setup_config.h"
#include "platform/installer/file_ops.h"
#include "platform/installer/host_folders.h"
#include "platform/installer/registry_store.h"

namespace kelvox::installer {

// Below HKEY_LOCAL_MACHINE; the uninstall entry's key is this + the last component of Folder.
inline constexpr const char* kUninstallKeys = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A setup file larger than this is refused as broken: thousands of entries fit in far less.
inline constexpr uint64_t kSetupFileLimit = 4u << 20;  // bytes

struct RunState {
  std::string installerFolder;     // the folder of the installer's file, trailing '/'
  std::string installerFileName;   // entry −1
  std::string configFileName;      // entry 0, as spelled on disk
  SetupConfig config;              // as read, Shift-JIS
  std::string title;               // UTF-8
  std::string folderSetting;       // Install/Folder in host form
  std::string uninstallKey;        // kUninstallKeys + '\' + last component of Folder
  std::string installationFolder;  // trailing '/' once the destination page has accepted it
  bool resident = false;
  bool newShell = true;
  bool startMenu = true;           // options page: check box 1006 starts checked
  bool desktop = false;            // check box 1005 starts unchecked

  int fileCount() const { return static_cast<int>(config.files.size()); }    // N
  int groupCount() const { return static_cast<int>(config.groups.size()); }  // M
};

// "SETUP.EXE" → "SETUP.INF" (a name ending in ".exe", any case, gets its last three
// characters replaced); any other name gets ".inf" appended.
std::string configFileNameFor(std::string_view installerFileName);

// Start-up reading: finds the configuration beside the installer (name matched without regard
// to ASCII case, the exact spelling preferred), reads it, derives the default installation
// folder and looks for a previous installation's folder in the uninstall entry. nullopt when
// the configuration is missing, not a regular file, larger than kSetupFileLimit, or broken:
// Title or Folder empty, a Folder without a name, with "." or ".." components, or naming the
// games folder itself.
std::optional<RunState> startUp(const std::string& installerFolder, const std::string& installerFileName,
                                const platform::installer::HostFolders& folders,
                                const platform::installer::RegistryStore& registry,
                                const platform::installer::FileOps& files);

// The folder of a previous installation from its "UninstallString", for entries made before
// the record: a path in double quotes ends at the last quote (names may hold quotes), one in
// shell quotes ('…', as uninstallCommand() writes) is unquoted, an unquoted one ends at the
// first space; the text is cut after the last '/' before that point. Without the end mark
// the whole text is the folder. "" when nothing is left.
std::string folderFromUninstallString(std::string_view uninstallString);

struct FileEntryPaths {
  std::string source;        // relative to the installer's folder, host form (as shown in messages)
  std::string destination;   // full host path
  std::string baseFolder;    // installation, Windows or system folder, trailing '/'
  bool cleanable = true;     // uninstallation deletes it (not for the system folder)
  bool outside = false;      // the destination would leave its base folder: refused
};

// Entry [n]: −1 the installer itself, 0 the configuration, 1 … N the Install entries.
FileEntryPaths fileEntry(const RunState& state, const platform::installer::HostFolders& folders, int n);

struct GroupItem {
  std::string caption;
  std::string target;                  // full host path
  std::string argumentText;            // as written after the second comma
  std::vector<std::string> arguments;  // split at blanks, "…" keeping blanks together
  bool outside = false;                // the target would leave the installation folder
};

// Group entry [m], 1 … M.
GroupItem groupEntry(const RunState& state, int m);

// Splits a Windows-style argument text at blanks; double quotes group blanks and are dropped.
std::vector<std::string> splitArguments(std::string_view text);

}  // namespace kelvox::installer
