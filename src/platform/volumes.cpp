// Finds CD-ROM volumes in KELVOX_VOLUMES, KELVOX_DISCS, the game folder's Discs/, the mount
// table and the drives.
#include "platform/volumes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/file_system.h"
#include "platform/text_encoding.h"

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

std::vector<fs::path> parseDiscList(const std::string& text) {
  std::vector<fs::path> out;
  std::stringstream ss(text);
  std::string item;
  while (std::getline(ss, item, ':'))
    if (!item.empty()) out.emplace_back(item);
  return out;
}

std::vector<fs::path> discImageFiles(const fs::path& gameFolder, const DiscOpener& images) {
  std::vector<fs::path> found;
  if (gameFolder.empty()) return found;
  std::error_code ec;
  for (const auto& folder : fs::directory_iterator(gameFolder, ec)) {
    std::string name = folder.path().filename().string();
    if (name.size() != 5 || sjisCompareNoCase(name, "discs") != 0 || !folder.is_directory(ec)) continue;
    for (const auto& entry : fs::directory_iterator(folder.path(), ec)) {
      std::string file = entry.path().filename().string();
      if (!file.empty() && file[0] != '.' && images.isImageName(entry.path())) found.push_back(entry.path());
    }
    break;
  }
  std::sort(found.begin(), found.end());
  return found;
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

const SystemVolumes::CachedImage& SystemVolumes::imageLocked(const fs::path& image) {
  std::error_code ec;
  CachedImage now;
  now.changed = fs::last_write_time(image, ec);
  now.size = fs::file_size(image, ec);
  auto it = cache_.find(image);
  if (it != cache_.end() && it->second.changed == now.changed && it->second.size == now.size) return it->second;
  now.disc = images_->open(image, now.error);
  return cache_[image] = std::move(now);
}

std::vector<std::pair<fs::path, std::string>> SystemVolumes::problems() {
  std::lock_guard lock(mutex_);
  return problems_;
}

std::vector<Volume> SystemVolumes::list() {
  std::lock_guard lock(mutex_);
  problems_.clear();
  std::vector<Volume> found;
  // An image named by a path: its volume, labelled [label] or else from the image itself.
  auto addImage = [&](std::string label, const fs::path& image) {
    const CachedImage& opened = imageLocked(image);
    if (!opened.disc) {
      problems_.emplace_back(image, opened.error);
      return;
    }
    if (label.empty()) label = opened.disc->label.empty() ? image.stem().string() : opened.disc->label;
    found.push_back({0, label, image, opened.disc->files});
  };
  auto isImage = [&](const fs::path& p) { return images_ && images_->isImageName(p) && !isDirectory(p); };

  if (const char* env = std::getenv("KELVOX_VOLUMES"))
    for (auto& [label, root] : parseVolumeList(env)) {
      if (isImage(root))
        addImage(label, root);
      else
        found.push_back({0, label, root});
    }
  if (const char* env = std::getenv("KELVOX_DISCS"); env && images_)
    for (const fs::path& image : parseDiscList(env)) addImage({}, image);
  for (auto& [label, root] : discFolders(gameFolder_)) found.push_back({0, label, root});
  if (images_)
    for (const fs::path& image : discImageFiles(gameFolder_, *images_)) addImage({}, image);

  auto mountinfo = readWholeFile("/proc/self/mountinfo");
  std::istringstream mounts(mountinfo ? std::string(mountinfo->begin(), mountinfo->end()) : std::string());
  std::string line;
  std::map<fs::path, std::string> labels;
  bool labelsRead = false;
  std::vector<fs::path> mountedDevices;
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
    found.push_back({0, it == labels.end() ? std::string() : it->second, unescapeMountField(mountPoint), nullptr, device});
    mountedDevices.push_back(device);
  }
  if (images_)
    for (auto& [device, disc] : images_->drives()) {
      std::error_code ec;
      fs::path real = fs::weakly_canonical(device, ec);
      if (std::find(mountedDevices.begin(), mountedDevices.end(), real) != mountedDevices.end()) continue;
      found.push_back({0, disc.label, device, disc.files, device});
    }

  std::vector<Volume> volumes;
  char letter = 'd';
  for (Volume& v : found) {
    if (letter > 'z') break;
    v.letter = letter++;
    volumes.push_back(std::move(v));
  }
  return volumes;
}

}  // namespace kelvox::platform
