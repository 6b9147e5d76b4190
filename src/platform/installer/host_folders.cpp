// Reads HOME and the XDG variables into the installer's folder map; parses user-dirs.dirs for
// the (possibly localized) desktop folder instead of starting xdg-user-dir.
#include "platform/installer/host_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_system.h"
#include "platform/text_lines.h"

namespace kelvox::platform::installer {
namespace {

std::string absoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return {};
  return withTrailingSlash(value);
}

std::string homeFolder() {
  std::string home = absoluteEnv("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr && pw->pw_dir[0] == '/')
    return withTrailingSlash(pw->pw_dir);
  return "/";
}

// A missing or unreadable file (or a FIFO, or one over the whole-file cap) reads as empty.
std::string readText(const std::string& file) {
  auto bytes = readWholeFile(file);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

}  // namespace

std::string withTrailingSlash(std::string path) {
  if (path.empty()) return path;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path != "/") path += '/';
  return path;
}

std::string desktopFromUserDirs(std::string_view text, std::string_view home) {
  constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
  std::string found;
  TextLines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.substr(0, kKey.size()) != kKey) continue;
    line.remove_prefix(kKey.size());
    // The value is one double-quoted word, "$HOME/…" or an absolute path (xdg-user-dirs' format).
    if (line.size() < 2 || line.front() != '"') continue;
    size_t close = line.find('"', 1);
    if (close == std::string_view::npos) continue;
    std::string_view value = line.substr(1, close - 1);
    if (value.substr(0, 5) == "$HOME" && (value.size() == 5 || value[5] == '/'))
      found = std::string(home) + std::string(value.substr(value.size() == 5 ? 5 : 6));
    else if (!value.empty() && value.front() == '/')
      found = std::string(value);
  }
  return withTrailingSlash(found);
}

HostFolders hostFoldersFromEnvironment() {
  HostFolders f;
  f.home = homeFolder();
  std::string data = absoluteEnv("XDG_DATA_HOME");
  if (data.empty()) data = f.home + ".local/share/";
  std::string config = absoluteEnv("XDG_CONFIG_HOME");
  if (config.empty()) config = f.home + ".config/";

  f.programFiles = f.home + "Games/";
  f.windowsFolder = data + "kelvox/windows/";
  f.systemFolder = data + "kelvox/system/";
  f.programs = data + "applications/";
  f.startup = config + "autostart/";
  f.menuFiles = config + "menus/applications-merged/";
  f.directoryFiles = data + "desktop-directories/";
  f.registryFile = data + "kelvox/registry.reg";

  f.desktop = desktopFromUserDirs(readText(config + "user-dirs.dirs"), f.home);
  if (f.desktop.empty()) f.desktop = absoluteEnv("XDG_DESKTOP_DIR");
  if (f.desktop.empty()) f.desktop = f.home + "Desktop/";

  f.runtimeFolder = absoluteEnv("XDG_RUNTIME_DIR");
  if (f.runtimeFolder.empty()) f.runtimeFolder = "/tmp/kelvox-" + std::to_string(getuid()) + "/";
  return f;
}

}  // namespace kelvox::platform::installer
