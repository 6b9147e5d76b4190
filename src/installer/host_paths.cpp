// Path conversion, confinement and case-insensitive lookup for the installer.
#include "installer/host_paths.h"

#include <vector>

#include "platform/text_encoding.h"

namespace kelvox::installer {
namespace {

std::vector<std::string_view> components(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t cut = path.find('/', start);
    if (cut == std::string_view::npos) cut = path.size();
    if (cut > start) parts.push_back(path.substr(start, cut - start));
    start = cut + 1;
  }
  return parts;
}

// Host names are UTF-8: they take the UTF-8 fold.
bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && platform::asciiToLower(a) == platform::asciiToLower(b);
}

}  // namespace

std::string hostPath(std::string_view sjis) {
  std::string utf8 = platform::sjisToUtf8(sjis);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  return utf8;
}

std::optional<std::string> confinedPath(std::string_view relative) {
  if (!relative.empty() && relative.front() == '/') return std::nullopt;
  std::vector<std::string_view> kept;
  for (std::string_view part : components(relative)) {
    if (part == ".") continue;
    if (part == "..") {
      if (kept.empty()) return std::nullopt;
      kept.pop_back();
      continue;
    }
    kept.push_back(part);
  }
  std::string out;
  for (std::string_view part : kept) {
    if (!out.empty()) out += '/';
    out += part;
  }
  // A trailing '/' names a folder; keep it so that copying onto it fails as it should.
  if (!out.empty() && !relative.empty() && relative.back() == '/') out += '/';
  return out;
}

std::string safeFileName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c == '/') c = '_';
  if (out.empty() || out == "." || out == "..") out = "_" + out;
  return out;
}

std::string folderOf(std::string_view path) {
  size_t cut = path.rfind('/');
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string fileNameOf(std::string_view path) {
  size_t cut = path.rfind('/');
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string normalFolder(std::string_view absolute) {
  std::vector<std::string_view> kept;
  for (std::string_view part : components(absolute)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();  // "/.." is "/"
      continue;
    }
    kept.push_back(part);
  }
  std::string out = "/";
  for (std::string_view part : kept) {
    out += part;
    out += '/';
  }
  return out;
}

size_t utf8Length(std::string_view text) {
  size_t n = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

std::string findWithoutCase(const platform::installer::FileOps& files, const std::string& folder,
                            std::string_view relative) {
  using platform::installer::PathKind;
  std::string path = folder;
  std::vector<std::string_view> parts = components(relative);
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string name(parts[i]);
    if (name != "." && name != ".." && files.kind(path + name, true) == PathKind::None) {
      for (const auto& candidate : files.list(path)) {
        if (sameIgnoringAsciiCase(candidate, name)) {
          name = candidate;
          break;
        }
      }
    }
    path += name;
    if (i + 1 < parts.size()) path += '/';
  }
  return path;
}

}  // namespace kelvox::installer
