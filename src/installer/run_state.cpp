// Start-up reading of the configuration and the entry lookup.
#include "installer/run_state.h"

#include "installer/host_paths.h"
#include "installer/install_record.h"
#include "platform/text_encoding.h"

namespace kelvox::installer {
namespace {

using platform::installer::FileOps;
using platform::installer::HostFolders;
using platform::installer::RegistryStore;
using platform::installer::RootKey;

bool hasDotComponent(std::string_view path) {
  for (size_t start = 0; start <= path.size();) {
    size_t cut = path.find('/', start);
    if (cut == std::string_view::npos) cut = path.size();
    std::string_view part = path.substr(start, cut - start);
    if (part == "." || part == "..") return true;
    start = cut + 1;
  }
  return false;
}

bool endsWithExe(std::string_view name) {
  if (name.size() < 4) return false;
  return platform::asciiToLower(name.substr(name.size() - 4)) == ".exe";
}

std::optional<std::string> findConfigFile(const FileOps& files, const std::string& folder, const std::string& name) {
  using platform::installer::PathKind;
  if (files.kind(folder + name, true) == PathKind::File) return name;
  std::string found = fileNameOf(findWithoutCase(files, folder, name));
  if (found != name && files.kind(folder + found, true) == PathKind::File) return found;
  return std::nullopt;
}

}  // namespace

std::string configFileNameFor(std::string_view installerFileName) {
  if (endsWithExe(installerFileName))
    return std::string(installerFileName.substr(0, installerFileName.size() - 3)) + "INF";
  return std::string(installerFileName) + ".inf";
}

std::string folderFromUninstallString(std::string_view text) {
  std::string s(text);
  size_t stop;
  if (!s.empty() && s.front() == '\'') {
    // The shell-quoted form this installer writes: '…' pieces, with \' between them.
    std::string path;
    bool quoted = false;
    for (size_t i = 0; i < s.size(); ++i) {
      char c = s[i];
      if (c == '\'') quoted = !quoted;
      else if (!quoted && c == '\\' && i + 1 < s.size()) path += s[++i];
      else if (!quoted && c == ' ') break;
      else path += c;
    }
    return folderOf(path);
  }
  if (!s.empty() && s.front() == '"') {
    // The last quote, not the next: a Linux folder name may hold quotes of its own, and the
    // next one would cut such a path inside a name ("~/Games/My "Best" Game" gave ~/Games/).
    s.erase(0, 1);
    stop = s.rfind('"');
  } else {
    stop = s.find(' ');
  }
  if (stop == std::string::npos) return s;
  size_t slash = s.rfind('/', stop);
  return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

std::optional<RunState> startUp(const std::string& installerFolder, const std::string& installerFileName,
                                const HostFolders& folders, const RegistryStore& registry, const FileOps& files) {
  RunState state;
  state.installerFolder = installerFolder;
  state.installerFileName = installerFileName;
  std::optional<std::string> configName = findConfigFile(files, installerFolder, configFileNameFor(installerFileName));
  if (!configName) return std::nullopt;
  state.configFileName = *configName;

  std::optional<std::string> text = files.readFile(installerFolder + *configName, kSetupFileLimit);
  if (!text) return std::nullopt;
  std::optional<SetupConfig> config = readSetupConfig(platform::Profile::parse(*text));
  if (!config) return std::nullopt;
  state.config = std::move(*config);
  state.title = platform::sjisToUtf8(state.config.title);
  state.folderSetting = hostPath(state.config.folder);
  state.resident = state.config.resident;

  // The key's name is Folder's last component. A Folder that ends in separators still names
  // its last folder; one with no name at all would make the key the whole uninstall list.
  std::string trimmed = state.folderSetting;
  while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
  std::string keyName = fileNameOf(trimmed);
  if (keyName.empty()) return std::nullopt;
  state.uninstallKey = std::string(kUninstallKeys) + "\\" + keyName;
  // "." and ".." would lead the default folder out of the games folder (Folder=\.. is the
  // home folder's parent), so such a Folder is a broken configuration, as is one that names
  // the games folder itself.
  if (hasDotComponent(state.folderSetting)) return std::nullopt;

  // Program Files is ~/Games; a leading separator puts the folder right below the "drive
  // root", the home folder.
  if (!state.folderSetting.empty() && state.folderSetting.front() == '/')
    state.installationFolder = folders.home + state.folderSetting.substr(1);
  else
    state.installationFolder = folders.programFiles + state.folderSetting;
  if (state.installationFolder.back() != '/') state.installationFolder += '/';
  if (normalFolder(state.installationFolder) == normalFolder(folders.programFiles)) return std::nullopt;

  // A previous installation: its recorded folder, else (made before the record existed) the
  // folder of its uninstall command. A value longer than the 259-character buffer would not
  // have been read at all.
  if (std::optional<InstallRecord> record = readInstallRecord(registry, state.uninstallKey)) {
    state.installationFolder = record->folder;
  } else if (auto previous = registry.queryValue(RootKey::LocalMachine, state.uninstallKey, "UninstallString");
      previous && utf8Length(*previous) <= 259) {
    std::string folder = folderFromUninstallString(*previous);
    if (!folder.empty()) state.installationFolder = folder;
  }
  return state;
}

FileEntryPaths fileEntry(const RunState& state, const HostFolders& folders, int n) {
  FileEntryPaths e;
  e.baseFolder = state.installationFolder;
  std::string relative;
  if (n == -1) {
    e.source = relative = state.installerFileName;
  } else if (n == 0) {
    e.source = relative = state.configFileName;
  } else if (n >= 1 && n <= state.fileCount()) {
    FileSpec spec = splitFileEntry(state.config.files[static_cast<size_t>(n - 1)]);
    e.source = hostPath(spec.source);
    relative = hostPath(spec.destination);
    if (spec.base == FileBase::Windows) e.baseFolder = folders.windowsFolder;
    if (spec.base == FileBase::System) {
      e.baseFolder = folders.systemFolder;
      e.cleanable = false;
    }
  } else {
    e.outside = true;
    return e;
  }
  std::optional<std::string> inside = confinedPath(relative);
  e.outside = !inside.has_value();
  e.destination = e.baseFolder + inside.value_or(std::string());
  return e;
}

std::vector<std::string> splitArguments(std::string_view text) {
  std::vector<std::string> args;
  std::string current;
  bool inWord = false, quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) args.push_back(std::move(current));
      current.clear();
      inWord = false;
    } else {
      current += c;
      inWord = true;
    }
  }
  if (inWord) args.push_back(std::move(current));
  return args;
}

GroupItem groupEntry(const RunState& state, int m) {
  GroupItem item;
  std::optional<GroupSpec> spec;
  if (m >= 1 && m <= state.groupCount()) spec = splitGroupEntry(state.config.groups[static_cast<size_t>(m - 1)]);
  if (!spec) {
    item.outside = true;
    return item;
  }
  item.caption = platform::sjisToUtf8(spec->caption);
  item.argumentText = platform::sjisToUtf8(spec->arguments);
  item.arguments = splitArguments(item.argumentText);
  std::optional<std::string> inside = confinedPath(hostPath(spec->target));
  item.outside = !inside.has_value();
  item.target = state.installationFolder + inside.value_or(std::string());
  return item;
}

}  // namespace kelvox::installer
