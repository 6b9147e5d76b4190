// Delayed deletion of the uninstaller copy, with the WININIT.INI fallback.
#include "installer/self_deletion.h"

#include "platform/profile.h"

namespace kelvox::installer {

bool addWininitDeletion(platform::installer::FileOps& files, const std::string& wininit, const std::string& path) {
  std::string content = files.readFile(wininit).value_or(std::string());
  if (!content.empty() && content.back() == '\x1A') content.pop_back();
  platform::Profile profile = platform::Profile::parse(content);

  std::string section = "[Rename]\r\n";
  for (const auto& [key, value] : profile.sectionEntries("Rename")) {
    section += key + "=" + value + "\r\n";
    if (section.size() > kRenameSectionLimit) return false;
  }
  section += "NUL=" + path + "\r\n";

  profile.removeSection("Rename");
  return files.writeFile(wininit, profile.text() + section);
}

void scheduleSelfDeletion(const std::string& path, Services& services) {
  if (services.deletion.deleteAtExit(path)) return;
  const std::string& windows = services.folders.windowsFolder;
  for (size_t cut = windows.find('/', 1); cut != std::string::npos; cut = windows.find('/', cut + 1)) {
    std::string level = windows.substr(0, cut);
    if (services.files.kind(level, true) != platform::installer::PathKind::Folder) services.files.makeFolder(level);
  }
  addWininitDeletion(services.files, windows + "WININIT.INI", path);
}

}  // namespace kelvox::installer
