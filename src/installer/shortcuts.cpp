// Desktop Entry shortcuts for the new shell, Program Manager commands for the old one.
#include "installer/shortcuts.h"

#include "installer/host_paths.h"
#include "installer/messages.h"
#include "installer/progman_commands.h"
#include "platform/installer/desktop_entry.h"

namespace kelvox::installer {
namespace {

using platform::installer::DesktopEntry;
using platform::installer::FileOps;
using platform::installer::PathKind;

struct Link {
  std::string caption;
  std::string target;
  std::vector<std::string> arguments;
};

// Creates the missing levels of [folder] without messages; a failure shows later as the
// shortcut's warning.
bool ensureFolder(FileOps& files, const std::string& folder) {
  for (size_t cut = folder.find('/', 1); cut != std::string::npos; cut = folder.find('/', cut + 1)) {
    std::string level = folder.substr(0, cut);
    if (files.kind(level, true) == PathKind::Folder) continue;
    if (!files.makeFolder(level)) return false;
  }
  return true;
}

std::string groupFolder(const RunState& state, const Services& services) {
  return services.folders.programs + safeFileName(state.title) + "/";
}
// True when the group's folder is missing or a folder of its own, not a link: its entries are
// then written and removed in it and nowhere else.
bool groupFolderIsOwn(const RunState& state, const Services& services) {
  const FileOps& files = services.files;
  std::string folder = groupFolder(state, services);
  if (files.kind(folder) == PathKind::None) return true;
  return files.kind(folder) == PathKind::Folder &&
         files.realPath(folder) == files.realPath(services.folders.programs) + safeFileName(state.title) + "/";
}

std::string menuBaseName(const RunState& state) { return "kelvox-" + safeFileName(state.title); }

// Writes one Desktop Entry [folder] + caption + ".desktop". A target that is a document (a
// file nobody may execute) is opened with xdg-open, as a shell link to a document opens it.
bool writeLink(const Link& link, const std::string& folder, const std::string& description,
               const RunState& state, Services& services, const std::string& categories, unsigned mode) {
  DesktopEntry entry;
  entry.name = link.caption;
  entry.comment = description;
  entry.workingFolder = state.installationFolder;
  entry.categories = categories;
  if (services.files.kind(link.target, true) == PathKind::File && !services.files.isExecutable(link.target)) {
    entry.exec = {"xdg-open", link.target};
  } else {
    entry.exec = {link.target};
    entry.exec.insert(entry.exec.end(), link.arguments.begin(), link.arguments.end());
  }
  return ensureFolder(services.files, folder) &&
         services.files.writeFile(folder + safeFileName(link.caption) + ".desktop",
                                  platform::installer::desktopEntryText(entry), mode);
}

int warnIfFailed(bool ok, const std::string& caption, Ui& ui) {
  if (ok) return 0;
  ui.message({caption + text::kShortcutFailedAfterPath, "", Buttons::Ok, Icon::Warning});
  return 1;
}

std::optional<Link> mainProgramLink(const RunState& state, const Services& services) {
  if (state.fileCount() < 1) return std::nullopt;  // nothing to point at
  FileEntryPaths main = fileEntry(state, services.folders, 1);
  if (main.outside) return std::nullopt;
  return Link{state.title, main.destination, {}};
}

int makeStartMenuGroup(const RunState& state, Services& services, Ui& ui) {
  int failures = 0;
  std::string folder = groupFolder(state, services);
  std::vector<std::string> ids;
  for (int m = 1; m <= state.groupCount(); ++m) {
    GroupItem item = groupEntry(state, m);
    if (item.outside) {
      ui.message({item.caption + text::kOutsideFolderAfterPath, "", Buttons::Ok, Icon::Error});
      ++failures;
      continue;
    }
    bool ok = groupFolderIsOwn(state, services) &&
              writeLink({item.caption, item.target, item.arguments}, folder, item.caption, state, services, "", 0644);
    failures += warnIfFailed(ok, item.caption, ui);
    if (ok) ids.push_back(platform::installer::desktopFileId(safeFileName(state.title) + "/" + safeFileName(item.caption) + ".desktop"));
  }
  // The submenu: a directory file naming it and a merged menu listing its entries. Desktops
  // without menu merging still show the entries, only not grouped.
  std::string base = menuBaseName(state);
  if (!ids.empty() && ensureFolder(services.files, services.folders.directoryFiles) &&
      ensureFolder(services.files, services.folders.menuFiles)) {
    services.files.writeFile(services.folders.directoryFiles + base + ".directory",
                             platform::installer::desktopDirectoryText(state.title));
    services.files.writeFile(services.folders.menuFiles + base + ".menu",
                             platform::installer::mergedMenuText(base, base + ".directory", ids));
  }
  return failures;
}

int makeNewShellShortcuts(const RunState& state, Services& services, Ui& ui) {
  const auto& f = services.folders;
  std::optional<Link> main = mainProgramLink(state, services);
  int failures = 0;
  if (state.resident) {
    if (main) failures += warnIfFailed(writeLink(*main, f.startup, state.title, state, services, "", 0644), state.title, ui);
    return failures;
  }
  if (state.startMenu) {
    if (state.groupCount() > 0)
      failures += makeStartMenuGroup(state, services, ui);
    else if (main)
      failures += warnIfFailed(writeLink(*main, f.programs, state.title, state, services, "Game;", 0644), state.title, ui);
  }
  // Desktop files are made executable: desktops launch only those they may trust.
  if (state.desktop && main)
    failures += warnIfFailed(writeLink(*main, f.desktop, state.title, state, services, "", 0755), state.title, ui);
  return failures;
}

void makeOldShellShortcuts(const RunState& state, Services& services) {
  if (services.programManager == nullptr) return;
  std::optional<Link> main = mainProgramLink(state, services);
  std::vector<std::string> commands;
  if (state.resident) {
    if (!main) return;
    commands = {showStartupGroupCommand(), addItemCommand(main->target, state.title)};
  } else if (state.startMenu) {
    commands.push_back(createGroupCommand(state.title));
    if (state.groupCount() > 0) {
      for (int m = 1; m <= state.groupCount(); ++m) {
        GroupItem item = groupEntry(state, m);
        if (item.outside) continue;
        std::string command = item.target + (item.argumentText.empty() ? "" : " " + item.argumentText);
        commands.push_back(addItemCommand(command, item.caption));
      }
    } else {
      if (main) commands.push_back(addItemCommand(main->target, state.title));
      FileEntryPaths self = fileEntry(state, services.folders, -1);
      commands.push_back(addItemCommand(self.destination + " /r", state.title + text::kUninstallItemAfterTitle));
    }
  }
  if (!commands.empty()) sendProgramManagerCommands(*services.programManager, commands);
}

}  // namespace

int makeShortcuts(const RunState& state, Services& services, Ui& ui) {
  if (services.newShell) return makeNewShellShortcuts(state, services, ui);
  makeOldShellShortcuts(state, services);
  return 0;
}

void removeShortcuts(const RunState& state, Services& services) {
  if (!services.newShell) {
    if (services.programManager != nullptr)
      sendProgramManagerCommands(*services.programManager,
                                 {deleteGroupCommand(state.title), deleteGroupCommand(state.title),
                                  showStartupGroupCommand(), deleteItemCommand(state.title)});
    return;
  }
  const auto& f = services.folders;
  FileOps& files = services.files;
  std::string linkName = safeFileName(state.title) + ".desktop";
  if (state.groupCount() > 0) {
    // The entries the group's captions name, and the folder once that empties it; nothing
    // when the folder has become a link, whose target may hold anything.
    std::string folder = groupFolder(state, services);
    if (groupFolderIsOwn(state, services)) {
      for (int m = 1; m <= state.groupCount(); ++m)
        files.removeFile(folder + safeFileName(groupEntry(state, m).caption) + ".desktop");
      files.removeFolder(folder);
    }
    files.removeFile(f.directoryFiles + menuBaseName(state) + ".directory");
    files.removeFile(f.menuFiles + menuBaseName(state) + ".menu");
  } else {
    files.removeFile(f.programs + linkName);
  }
  files.removeFile(f.desktop + linkName);
  files.removeFile(f.startup + linkName);
}

}  // namespace kelvox::installer
