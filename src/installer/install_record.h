// What one installation made — the installation folder, the files it copied and the folders it
// created — kept as values of its uninstall entry, so that uninstallation removes exactly that.
// Every path is a real path (no symbolic link on the way) taken when it was made.
//
//   "InstallLocation"   = the installation folder, trailing '/'
//   "Created Folder 1…" = folders the installation made, parents before children, trailing '/'
//   "Copied File 1…"    = files it copied (not those in the system folder, which stay)
//
// The registry store escapes every byte a path may hold, so quotes, '%', newlines and bytes
// that are not UTF-8 come back as they went in. Installations made before the record existed
// have no "InstallLocation".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/installer/registry_store.h"

namespace kelvox::installer {

struct InstallRecord {
  std::string folder;                // the installation folder, trailing '/'
  std::vector<std::string> folders;  // created, in the order they were made
  std::vector<std::string> files;    // copied

  // Adds [other]'s folders and files that this record lacks, theirs first: a reinstallation
  // into the same folder keeps the claim of the installation that made its folders.
  void mergeEarlier(const InstallRecord& earlier);
};

// The record as values of the uninstall entry.
std::vector<std::pair<std::string, std::string>> recordValues(const InstallRecord& record);

// The record of the uninstall entry [key] (below HKEY_LOCAL_MACHINE); nullopt for an entry
// without one (an older installation) or without an absolute InstallLocation.
std::optional<InstallRecord> readInstallRecord(const platform::installer::RegistryStore& registry,
                                               const std::string& key);

// The uninstall command for the uninstaller at [path]: the path quoted for a POSIX shell
// ('…', a ' inside written '\''), then " /r". A user can paste it into a terminal.
std::string uninstallCommand(std::string_view path);

// True when [path] is at [folder] or below it (both real paths, [folder] with trailing '/').
bool isAtOrBelow(std::string_view path, std::string_view folder);

}  // namespace kelvox::installer
