// Builds Desktop Entry, directory and merged-menu texts.
#include "platform/installer/desktop_entry.h"

namespace kelvox::platform::installer {
namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

std::string xmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
    }
  }
  return out;
}

}  // namespace

std::string execArgument(std::string_view argument) {
  bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
  std::string out = quote ? "\"" : "";
  for (char c : argument) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  if (quote) out += '"';
  return out;
}

std::string desktopStringValue(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case ' ': out += i == 0 ? "\\s" : " "; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
    }
  }
  return out;
}

std::string desktopEntryText(const DesktopEntry& entry) {
  std::string exec;
  for (const auto& arg : entry.exec) {
    if (!exec.empty()) exec += ' ';
    exec += execArgument(arg);
  }
  std::string out = "[Desktop Entry]\nType=Application\n";
  out += "Name=" + desktopStringValue(entry.name) + "\n";
  if (!entry.comment.empty() && entry.comment != entry.name)
    out += "Comment=" + desktopStringValue(entry.comment) + "\n";
  out += "Exec=" + desktopStringValue(exec) + "\n";
  if (!entry.workingFolder.empty()) out += "Path=" + desktopStringValue(entry.workingFolder) + "\n";
  if (!entry.categories.empty()) out += "Categories=" + desktopStringValue(entry.categories) + "\n";
  return out;
}

std::string desktopDirectoryText(std::string_view name) {
  return "[Desktop Entry]\nType=Directory\nName=" + desktopStringValue(name) + "\n";
}

std::string mergedMenuText(std::string_view menuName, std::string_view directoryFile,
                           const std::vector<std::string>& desktopIds) {
  std::string out =
      "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
      " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
      "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n";
  out += "    <Name>" + xmlEscape(menuName) + "</Name>\n";
  out += "    <Directory>" + xmlEscape(directoryFile) + "</Directory>\n    <Include>\n";
  for (const auto& id : desktopIds) out += "      <Filename>" + xmlEscape(id) + "</Filename>\n";
  out += "    </Include>\n  </Menu>\n</Menu>\n";
  return out;
}

std::string desktopFileId(std::string_view relativePath) {
  std::string id(relativePath);
  for (char& c : id)
    if (c == '/') c = '-';
  return id;
}

}  // namespace kelvox::platform::installer
