// Finds CD-ROM volumes in KELVOX_VOLUMES, in the game folder's Discs/ and in the mount table.
#include "platform/volumes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/file_system.h"

namespace kelvox::platform {

namespace fs = std::filesystem;

std::vector<std::pair<std::string, fs::path>> parseVolumeList(const std::string& text) {
  std::vector<std::pair<std::string, fs::path>> out;
  std::stringstream ss(text);
  std::string item;
  while (std::getline(ss, item, ':')) {
    size_t eq = item.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == item.size()) continue;
    out.emplace_back(item.substr(0, eq), item.substr(eq + 1));
  }
  return out;
}

std::string unescapeMountField(const std::string& field) {
  auto isOct = [](char c) { return c >= '0' && c <= '7'; };
  auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    size_t left = field.size() - i - 1;  // bytes after the backslash
    if (field[i] == '\\' && left >= 3 && field[i + 1] == 'x' && isHex(field[i + 2]) && isHex(field[i + 3])) {
      out += static_cast<char>(std::stoi(field.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else if (field[i] == '\\' && left >= 3 && isOct(field[i + 1]) && isOct(field[i + 2]) && isOct(field[i + 3])) {
      out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::vector<std::pair<std::string, fs::path>> discFolders(const fs::path& gameFolder) {
  std::vector<std::pair<std::string, fs::path>> discs;
  if (gameFolder.empty()) return discs;
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  std::error_code ec;
  for (const auto& folder : fs::directory_iterator(gameFolder, ec)) {
    if (lower(folder.path().filename().string()) != "discs" || !folder.is_directory(ec)) continue;
    for (const auto& entry : fs::directory_iterator(folder.path(), ec)) {
      std::string label = entry.path().filename().string();
      if (label.empty() || label[0] == '.' || !entry.is_directory(ec)) continue;  // follows links
      discs.emplace_back(label, entry.path());
    }
    break;
  }
  std::sort(discs.begin(), discs.end());
  return discs;
}

namespace {

// Device path → label, from the links of /dev/disk/by-label.
std::map<fs::path, std::string> labelsByDevice() {
  std::map<fs::path, std::string> labels;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/dev/disk/by-label", ec)) {
    fs::path device = fs::weakly_canonical(entry.path(), ec);
    if (!ec) labels[device] = unescapeMountField(entry.path().filename().string());
  }
  return labels;
}

}  // namespace

std::vector<Volume> SystemVolumes::list() {
  std::vector<std::pair<std::string, fs::path>> found;
  if (const char* env = std::getenv("KELVOX_VOLUMES")) found = parseVolumeList(env);
  for (auto& disc : discFolders(gameFolder_)) found.push_back(std::move(disc));

  auto mountinfo = readWholeFile("/proc/self/mountinfo");
  std::istringstream mounts(mountinfo ? std::string(mountinfo->begin(), mountinfo->end()) : std::string());
  std::string line;
  std::map<fs::path, std::string> labels;
  bool labelsRead = false;
  while (std::getline(mounts, line)) {
    // id parent major:minor root mountpoint options [optional…] - fstype source superoptions
    size_t dash = line.find(" - ");
    if (dash == std::string::npos) continue;
    std::istringstream head(line.substr(0, dash)), tail(line.substr(dash + 3));
    std::string id, parent, dev, root, mountPoint, fsType, source;
    head >> id >> parent >> dev >> root >> mountPoint;
    tail >> fsType >> source;
    if (fsType != "iso9660" && fsType != "udf") continue;
    if (!labelsRead) { labels = labelsByDevice(); labelsRead = true; }
    std::error_code ec;
    fs::path device = fs::weakly_canonical(unescapeMountField(source), ec);
    auto it = labels.find(device);
    found.emplace_back(it == labels.end() ? std::string() : it->second, unescapeMountField(mountPoint));
  }

  std::vector<Volume> volumes;
  char letter = 'd';
  for (auto& [label, root] : found) {
    if (letter > 'z') break;
    volumes.push_back({letter++, label, root});
  }
  return volumes;
}

}  // namespace kelvox::platform
