// Finding ripped tracks by their names.
#include "platform/cd/cd_track_files.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kelvox::platform {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Adds the track files directly in [folder] to [tracks], keeping tracks found before.
void scanFolder(const fs::path& folder, std::map<uint32_t, fs::path>& tracks) {
  std::error_code ec;
  std::vector<std::pair<std::string, fs::path>> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    found.emplace_back(it->path().filename().string(), it->path());
  // Name order, so that of Track02.flac and track02.ogg the same one wins every time.
  std::sort(found.begin(), found.end());
  for (const auto& [name, path] : found)
    if (auto n = trackNumberOf(name)) tracks.emplace(*n, path);
}

}  // namespace

std::optional<uint32_t> trackNumberOf(std::string_view fileName) {
  std::string name = lower(fileName);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string ext = name.substr(dot + 1);
  if (ext != "flac" && ext != "ogg" && ext != "wav" && ext != "mp3") return std::nullopt;
  std::string stem = name.substr(0, dot);
  if (stem.rfind("track", 0) != 0) return std::nullopt;
  std::string digits = stem.substr(5);
  if (!digits.empty() && digits[0] == '_') digits.erase(0, 1);
  // One digit, or two (track02, track12); a leading zero only before a second digit.
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  uint32_t n = static_cast<uint32_t>(std::stoul(digits));
  if (n == 0 || n > kMaxCdTracks) return std::nullopt;
  return n;
}

std::map<uint32_t, fs::path> findTrackFiles(const fs::path& root) {
  std::map<uint32_t, fs::path> tracks;
  scanFolder(root, tracks);
  std::error_code ec;
  std::vector<fs::path> folders;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_directory(ec)) folders.push_back(it->path());
  std::sort(folders.begin(), folders.end());
  for (const auto& folder : folders) scanFolder(folder, tracks);
  return tracks;
}

}  // namespace kelvox::platform
