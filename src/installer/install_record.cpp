// Writing and reading an installation's record in its uninstall entry.
#include "installer/install_record.h"

#include <set>

namespace kelvox::installer {
namespace {

using platform::installer::RootKey;

constexpr const char* kLocation = "InstallLocation";
constexpr const char* kFolderPrefix = "Created Folder ";
constexpr const char* kFilePrefix = "Copied File ";

void appendMissing(std::vector<std::string>& to, const std::vector<std::string>& from, bool before) {
  std::set<std::string> have(to.begin(), to.end());
  std::vector<std::string> added;
  for (const auto& p : from)
    if (have.insert(p).second) added.push_back(p);
  to.insert(before ? to.begin() : to.end(), added.begin(), added.end());
}

// Numbered values "<prefix>1", "<prefix>2", … up to the first one missing.
std::vector<std::string> numbered(const std::vector<std::pair<std::string, std::string>>& values,
                                  const std::string& prefix) {
  std::vector<std::string> byNumber;
  for (const auto& [name, value] : values) {
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    std::string digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    size_t n = std::stoul(digits);
    if (n == 0) continue;
    if (byNumber.size() < n) byNumber.resize(n);
    byNumber[n - 1] = value;
  }
  for (size_t i = 0; i < byNumber.size(); ++i)
    if (byNumber[i].empty() || byNumber[i].front() != '/') {
      byNumber.resize(i);
      break;
    }
  return byNumber;
}

}  // namespace

void InstallRecord::mergeEarlier(const InstallRecord& earlier) {
  appendMissing(folders, earlier.folders, true);
  appendMissing(files, earlier.files, true);
}

std::vector<std::pair<std::string, std::string>> recordValues(const InstallRecord& record) {
  std::vector<std::pair<std::string, std::string>> values = {{kLocation, record.folder}};
  for (size_t i = 0; i < record.folders.size(); ++i)
    values.emplace_back(kFolderPrefix + std::to_string(i + 1), record.folders[i]);
  for (size_t i = 0; i < record.files.size(); ++i)
    values.emplace_back(kFilePrefix + std::to_string(i + 1), record.files[i]);
  return values;
}

std::optional<InstallRecord> readInstallRecord(const platform::installer::RegistryStore& registry,
                                               const std::string& key) {
  auto values = registry.values(RootKey::LocalMachine, key);
  InstallRecord record;
  for (const auto& [name, value] : values)
    if (name == kLocation) record.folder = value;
  if (record.folder.empty() || record.folder.front() != '/') return std::nullopt;
  if (record.folder.back() != '/') record.folder += '/';
  record.folders = numbered(values, kFolderPrefix);
  record.files = numbered(values, kFilePrefix);
  return record;
}

std::string uninstallCommand(std::string_view path) {
  std::string out = "'";
  for (char c : path) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "' /r";
}

bool isAtOrBelow(std::string_view path, std::string_view folder) {
  return !folder.empty() && path.substr(0, folder.size()) == folder;
}

}  // namespace kelvox::installer
