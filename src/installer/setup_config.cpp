// Reading the setup configuration's sections and splitting its entries.
#include "installer/setup_config.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace kelvox::installer {
namespace {

using platform::Profile;

std::string cString(std::string value) {
  if (size_t nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
  return value;
}

std::string read(const Profile& profile, std::string_view section, std::string_view key, size_t buffer) {
  return cString(profile.getString(section, key, "", buffer));
}

// Keys 1, 2, … until [stop] says the value ends the list.
template <typename Stop>
std::vector<std::string> numbered(const SectionIndex& index, Stop stop) {
  std::vector<std::string> values;
  for (size_t n = 1;; ++n) {
    std::string value = index.get(std::to_string(n), kEntryBuffer);
    if (stop(value)) return values;
    values.push_back(std::move(value));
  }
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

SectionIndex::SectionIndex(const Profile& profile, std::string_view section) {
  for (auto& [key, value] : profile.sectionEntries(section))
    entries_.emplace_back(platform::sjisToLower(key), std::move(value));
  // A stable sort keeps the first of equal keys first, as the profile reader finds it.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::string SectionIndex::get(std::string_view key, size_t bufferSize) const {
  std::string folded = platform::sjisToLower(key);
  auto it = std::lower_bound(entries_.begin(), entries_.end(), folded,
                             [](const auto& e, const std::string& k) { return e.first < k; });
  if (it == entries_.end() || it->first != folded || bufferSize == 0) return {};
  std::string value(unquote(it->second));
  if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return cString(std::move(value));
}

std::optional<SetupConfig> readSetupConfig(const Profile& profile) {
  SetupConfig c;
  c.title = read(profile, "Install", "Title", kTitleBuffer);
  c.folder = read(profile, "Install", "Folder", kTitleBuffer);
  if (c.title.empty() || c.folder.empty()) return std::nullopt;
  c.resident = read(profile, "Install", "TSR", kFlagBuffer).substr(0, 1) == "1";
  c.open = read(profile, "Install", "Open", kEntryBuffer);

  auto empty = [](const std::string& v) { return v.empty(); };
  c.files = numbered(SectionIndex(profile, "Install"), empty);
  c.groups = numbered(SectionIndex(profile, "Group"), [](const std::string& v) {
    return platform::findSjisChar(v, ',') == std::string::npos;  // also true for ""
  });
  c.regKeys = numbered(SectionIndex(profile, "Reg"), empty);
  return c;
}

FileSpec splitFileEntry(std::string_view value) {
  FileSpec spec;
  size_t comma = platform::findSjisChar(value, ',');
  if (comma == std::string_view::npos) {
    spec.source = spec.destination = std::string(value);
    return spec;
  }
  spec.source = std::string(value.substr(0, comma));
  std::string_view rest = value.substr(comma + 1);
  if (rest.size() >= 2 && rest[1] == '!') {
    spec.base = (rest[0] == 'W' || rest[0] == 'w') ? FileBase::Windows : FileBase::System;
    rest.remove_prefix(2);
  }
  spec.destination = std::string(rest);
  return spec;
}

std::optional<GroupSpec> splitGroupEntry(std::string_view value) {
  size_t comma = platform::findSjisChar(value, ',');
  if (comma == std::string_view::npos) return std::nullopt;
  GroupSpec spec;
  spec.caption = std::string(value.substr(0, comma));
  std::string_view target = value.substr(comma + 1);
  size_t second = platform::findSjisChar(target, ',');
  if (second != std::string_view::npos) {
    spec.arguments = std::string(target.substr(second + 1));
    target = target.substr(0, second);
  }
  spec.target = std::string(target);
  return spec;
}

std::optional<RegSpec> splitRegEntry(std::string_view value) {
  using platform::installer::RootKey;
  for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::ClassesRoot}) {
    std::string_view name = platform::installer::rootKeyName(root);
    if (value.substr(0, name.size()) != name) continue;
    if (value.size() <= name.size() + 1) return std::nullopt;
    return RegSpec{root, std::string(value.substr(name.size() + 1))};
  }
  return std::nullopt;
}

}  // namespace kelvox::installer
