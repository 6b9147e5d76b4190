// Feeds arbitrary bytes to the installer as its setup configuration: reading, splitting every
// entry and looking every entry up must never crash, every destination that is not refused
// must stay inside its folder, and the one-pass section index must find what the profile
// reader finds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "installer/host_paths.h"
#include "installer/run_state.h"
#include "installer/setup_config.h"
#include "platform/installer/desktop_entry.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"

using namespace kelvox::installer;

namespace {

std::string cString(std::string s) {
  if (size_t nul = s.find('\0'); nul != std::string::npos) s.resize(nul);
  return s;
}

bool startsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kelvox::platform::Profile profile = kelvox::platform::Profile::parse(text);

  for (const char* section : {"Install", "Group", "Reg"}) {
    SectionIndex index(profile, section);
    for (const char* key : {"1", "2", "3", "Title", "folder", "TSR", "Open"})
      for (size_t buffer : {size_t(0), size_t(3), kEntryBuffer})
        check(index.get(key, buffer) == cString(profile.getString(section, key, "", buffer)));
  }

  std::optional<SetupConfig> config = readSetupConfig(profile);
  if (!config) return 0;

  RunState state;
  state.config = *config;
  state.installerFileName = "installer";
  state.configFileName = "installer.inf";
  state.title = kelvox::platform::sjisToUtf8(config->title);
  state.installationFolder = "/home/u/Games/Sample/";
  kelvox::platform::installer::HostFolders folders;
  folders.windowsFolder = "/home/u/.local/share/kelvox/windows/";
  folders.systemFolder = "/home/u/.local/share/kelvox/system/";

  for (int n = -1; n <= state.fileCount(); ++n) {
    FileEntryPaths e = fileEntry(state, folders, n);
    if (!e.outside) check(startsWith(e.destination, e.baseFolder) && e.destination.find("/../") == std::string::npos);
  }
  for (int m = 1; m <= state.groupCount(); ++m) {
    GroupItem item = groupEntry(state, m);
    if (!item.outside) check(startsWith(item.target, state.installationFolder));
    kelvox::platform::installer::desktopEntryText({item.caption, state.title, {item.target}, state.installationFolder, ""});
  }
  for (const auto& value : config->regKeys) {
    if (std::optional<RegSpec> reg = splitRegEntry(value)) check(!reg->subkey.empty());
  }
  folderFromUninstallString(hostPath(config->folder));
  check(safeFileName(state.title).find('/') == std::string::npos);
  return 0;
}
