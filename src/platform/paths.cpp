// Case-insensitive resolution of Shift-JIS backslash paths on the host file system.
#include "platform/paths.h"

#include <cctype>

#include "platform/disc_files.h"
#include "platform/file_reader.h"
#include "platform/text_encoding.h"
#include "platform/volumes.h"

namespace kelvox::platform {

namespace fs = std::filesystem;

std::vector<std::string> splitSjisPath(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (isSjisLeadByte(c) && i + 1 < path.size()) {
      current += path[i];
      current += path[++i];
    } else if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += path[i];
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

bool isConfinedName(std::string_view sjisName) {
  if (sjisName.empty() || sjisName.front() == '\\' || sjisName.front() == '/') return false;
  if (sjisName.size() >= 2 && sjisName[1] == ':') return false;
  auto parts = splitSjisPath(sjisName);
  if (parts.empty()) return false;
  for (const auto& p : parts)
    if (p == ".." || p == "." || p.find(':') != std::string::npos) return false;
  return true;
}

namespace {

bool sameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && sjisCompareNoCase(a, b) == 0;
}

// The entry of [folder] that [component] names, or the component's UTF-8 form.
fs::path matchComponent(const fs::path& folder, const std::string& component) {
  std::string utf8 = sjisToUtf8(component);
  std::error_code ec;
  if (fs::exists(folder / utf8, ec)) return folder / utf8;
  fs::path byteMatch;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string name = entry.path().filename().string();
    // Host names are UTF-8, folded as UTF-8 folds (the Shift-JIS fold would take the byte
    // after a kana's lead byte as a trail byte and leave a letter there unfolded).
    if (asciiToLower(name) == asciiToLower(utf8)) return entry.path();
    if (byteMatch.empty() && sameNoCase(name, component)) byteMatch = entry.path();
  }
  if (!byteMatch.empty()) return byteMatch;
  return folder / utf8;
}

}  // namespace

Paths::Paths(fs::path gameFolder, Volumes* volumes) : gameFolder_(std::move(gameFolder)), volumes_(volumes) {}

Paths::Location Paths::locate(std::string_view sjisPath) const {
  Location at{gameFolder_, nullptr, {}};
  std::string_view rest = sjisPath;
  bool drive = sjisPath.size() >= 2 && sjisPath[1] == ':' &&
               std::isalpha(static_cast<unsigned char>(sjisPath[0]));
  if (drive) {
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(sjisPath[0])));
    at.host = fs::path("/nonexistent-drive") / std::string(1, letter);
    if (volumes_)
      for (const auto& v : volumes_->list())
        if (v.letter == letter) {
          at.host = v.root;
          at.disc = v.files;
        }
    rest = sjisPath.substr(2);
  }
  if (at.disc) {
    // Inside an image: ".." stops at its root.
    for (auto& part : splitSjisPath(rest)) {
      if (part == ".") continue;
      if (part == "..") {
        if (!at.components.empty()) at.components.pop_back();
        continue;
      }
      at.components.push_back(std::move(part));
    }
    for (const auto& part : at.components) at.host /= sjisToUtf8(part);
    return at;
  }
  for (const auto& part : splitSjisPath(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      at.host = at.host.parent_path();
      continue;
    }
    at.host = matchComponent(at.host, part);
  }
  return at;
}

fs::path Paths::resolve(std::string_view sjisPath) const { return locate(sjisPath).host; }

std::optional<std::vector<uint8_t>> Paths::read(std::string_view sjisPath, uint64_t maxBytes, ReadFailure* failure,
                                                Links links) const {
  Location at = locate(sjisPath);
  if (at.disc) return at.disc->readWhole(at.components, maxBytes, failure);
  return readRegularFile(at.host, maxBytes, failure, links);
}

bool Paths::isFile(std::string_view sjisPath) const {
  Location at = locate(sjisPath);
  if (at.disc) return at.disc->find(at.components).kind == DiscFiles::Kind::File;
  return isRegularFile(at.host);
}

bool Paths::isFolder(std::string_view sjisPath) const {
  Location at = locate(sjisPath);
  if (at.disc) return at.disc->find(at.components).kind == DiscFiles::Kind::Folder;
  return isDirectory(at.host);
}

std::unique_ptr<FileReader> Paths::openReader(std::string_view sjisPath) const {
  Location at = locate(sjisPath);
  if (at.disc) return std::make_unique<FileReader>(std::move(at.disc), std::move(at.components));
  return std::make_unique<FileReader>(at.host);
}

}  // namespace kelvox::platform
