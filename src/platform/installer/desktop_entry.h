// Desktop Entry files, the Linux counterpart of shell links: an application entry (a menu
// item, a desktop icon or an autostart entry), the ".directory" file that names a submenu, and
// the merged ".menu" file that makes a folder of entries a submenu. Only text is made here;
// writing the files is the caller's.
//
// Exec is written per the Desktop Entry rules in two layers: each argument that holds a
// reserved character is double-quoted with '"', '`', '$' and '\' escaped by a backslash,
// every '%' is doubled, and then the whole line is escaped as a string value ('\' → "\\").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvox::platform::installer {

struct DesktopEntry {
  std::string name;                // Name=: the caption
  std::string comment;             // Comment=: the description; left out when equal to name
  std::vector<std::string> exec;   // the program and its arguments, unquoted
  std::string workingFolder;       // Path=
  std::string categories;          // Categories= (e.g. "Game;"); left out when empty
};

std::string desktopEntryText(const DesktopEntry& entry);

// One Exec argument, quoted if needed and with '%' doubled, before string escaping.
std::string execArgument(std::string_view argument);

// [text] escaped as a string value: '\' → "\\", newline, tab and carriage return as "\n",
// "\t", "\r", a leading space as "\s"; other control characters are dropped.
std::string desktopStringValue(std::string_view text);

// The ".directory" file of a submenu named [name].
std::string desktopDirectoryText(std::string_view name);

// The merged ".menu" file that puts the entries [desktopIds] in a submenu [menuName] of the
// applications menu, named by the ".directory" file [directoryFile].
std::string mergedMenuText(std::string_view menuName, std::string_view directoryFile,
                           const std::vector<std::string>& desktopIds);

// The desktop file ID of an entry at [relativePath] below an applications folder: folder
// separators become '-' ("Sample/Play.desktop" → "Sample-Play.desktop").
std::string desktopFileId(std::string_view relativePath);

}  // namespace kelvox::platform::installer
