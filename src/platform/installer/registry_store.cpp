// The registry store's key operations over its file: each call takes an advisory lock on a
// lock file beside the store, reads the file, and for a change replaces it through an
// AtomicFile.
#include "platform/installer/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/file_system.h"
#include "platform/installer/registry_file.h"

namespace kelvox::platform::installer {
namespace {

bool validName(std::string_view name) {
  return std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Full path of [path] below [root], or "" when [path] is malformed.
std::string fullPath(RootKey root, std::string_view path) {
  std::string full(rootKeyName(root));
  if (path.empty()) return full;
  size_t start = 0;
  while (true) {
    size_t cut = path.find('\\', start);
    std::string_view name = path.substr(start, cut == std::string_view::npos ? path.npos : cut - start);
    if (name.empty() || !validName(name)) return {};
    full += '\\';
    full += name;
    if (cut == std::string_view::npos) return full;
    start = cut + 1;
  }
}

// Holds the store's lock for one operation. [exclusive] for changes.
class StoreLock {
 public:
  StoreLock(const std::string& storeFile, bool exclusive) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::path(storeFile).parent_path();
    if (exclusive) std::filesystem::create_directories(folder, ec);
    fd_ = ::open((storeFile + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0 && !exclusive) return;  // nothing written yet: reading needs no lock
    if (fd_ >= 0) {
      while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
      }
    }
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

struct StoreContent {
  RegistryMap keys;
  StoreProblem problem;
  bool writable() const { return problem.kind == StoreProblem::Kind::None; }
};

// A missing file is an empty store; anything else that is not a readable regular file (a
// folder, a device, an I/O error, a file over the whole-file cap) is a problem, never an
// empty store that the next change would write over.
StoreContent readStore(const std::string& file) {
  StoreContent content;
  ReadFailure failure;
  auto bytes = readRegularFile(file, kMaxWholeFileBytes, &failure);
  if (!bytes) {
    if (failure.kind != ReadFailure::Kind::Missing) content.problem.kind = StoreProblem::Kind::Unreadable;
    return content;
  }
  content.keys = parseRegistryText(std::string(bytes->begin(), bytes->end()), &content.problem.line);
  if (content.problem.line != 0) content.problem.kind = StoreProblem::Kind::Damaged;
  return content;
}

// The new text replaces the store through an AtomicFile: nothing is written through a link,
// and a crash or a full disk leaves the old store whole.
bool writeStore(const std::string& file, const RegistryMap& keys) {
  std::string text = registryText(keys);
  return writeFileAtomic(file, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// Direct subkey records of [full] in [keys], sorted by folded name.
std::vector<const RegistryKeyRecord*> children(const RegistryMap& keys, const std::string& full) {
  std::vector<const RegistryKeyRecord*> out;
  std::string prefix = foldRegistryName(full) + "\\";
  for (auto it = keys.lower_bound(prefix); it != keys.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.find('\\', prefix.size()) == std::string::npos) out.push_back(&it->second);
  }
  return out;
}

}  // namespace

std::string_view rootKeyName(RootKey root) {
  switch (root) {
    case RootKey::CurrentUser: return "HKEY_CURRENT_USER";
    case RootKey::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RootKey::ClassesRoot: return "HKEY_CLASSES_ROOT";
  }
  return "HKEY_CURRENT_USER";
}

RegistryStore::RegistryStore(std::string file) : file_(std::move(file)) {}

bool RegistryStore::keyExists(RootKey root, std::string_view path) const {
  std::string full = fullPath(root, path);
  if (full.empty()) return false;
  if (path.empty()) return true;
  StoreLock lock(file_, false);
  return readStore(file_).keys.count(foldRegistryName(full)) != 0;
}

bool RegistryStore::createKey(RootKey root, std::string_view path) {
  std::string full = fullPath(root, path);
  if (full.empty()) return false;
  if (path.empty()) return true;
  StoreLock lock(file_, true);
  if (!lock.held()) return false;
  StoreContent store = readStore(file_);
  if (!store.writable()) return false;
  RegistryMap& keys = store.keys;
  if (keys.count(foldRegistryName(full)) != 0) return true;
  for (size_t cut = full.find('\\'); cut != std::string::npos; cut = full.find('\\', cut + 1)) {
    std::string part = full.substr(0, cut);
    keys.try_emplace(foldRegistryName(part), RegistryKeyRecord{part, {}});
  }
  keys.try_emplace(foldRegistryName(full), RegistryKeyRecord{full, {}});
  return writeStore(file_, keys);
}

std::optional<std::string> RegistryStore::queryValue(RootKey root, std::string_view path,
                                                     std::string_view name) const {
  std::string full = fullPath(root, path);
  if (full.empty()) return std::nullopt;
  StoreLock lock(file_, false);
  RegistryMap keys = readStore(file_).keys;
  auto it = keys.find(foldRegistryName(full));
  if (it == keys.end()) return std::nullopt;
  std::string folded = foldRegistryName(name);
  for (const auto& [n, v] : it->second.values)
    if (foldRegistryName(n) == folded) return v;
  return std::nullopt;
}

bool RegistryStore::setValue(RootKey root, std::string_view path, std::string_view name,
                             std::string_view value) {
  return setValues(root, path, {{std::string(name), std::string(value)}});
}

bool RegistryStore::setValues(RootKey root, std::string_view path,
                              const std::vector<std::pair<std::string, std::string>>& namesAndValues) {
  std::string full = fullPath(root, path);
  if (full.empty() || path.empty()) return false;
  for (const auto& nv : namesAndValues)
    if (!validName(nv.first)) return false;
  StoreLock lock(file_, true);
  if (!lock.held()) return false;
  StoreContent store = readStore(file_);
  if (!store.writable()) return false;
  auto it = store.keys.find(foldRegistryName(full));
  if (it == store.keys.end()) return false;
  auto& values = it->second.values;
  for (const auto& [name, value] : namesAndValues) {
    std::string folded = foldRegistryName(name);
    auto same = std::find_if(values.begin(), values.end(), [&](const auto& v) { return foldRegistryName(v.first) == folded; });
    if (same != values.end())
      same->second = value;
    else
      values.emplace_back(name, value);
  }
  return writeStore(file_, store.keys);
}

std::optional<std::string> RegistryStore::enumKey(RootKey root, std::string_view path, size_t index) const {
  std::string full = fullPath(root, path);
  if (full.empty()) return std::nullopt;
  StoreLock lock(file_, false);
  RegistryMap keys = readStore(file_).keys;
  if (!path.empty() && keys.count(foldRegistryName(full)) == 0) return std::nullopt;
  auto list = children(keys, full);
  if (index >= list.size()) return std::nullopt;
  const std::string& child = list[index]->path;
  return child.substr(child.rfind('\\') + 1);
}

bool RegistryStore::deleteKey(RootKey root, std::string_view path) {
  std::string full = fullPath(root, path);
  if (full.empty() || path.empty()) return false;
  StoreLock lock(file_, true);
  if (!lock.held()) return false;
  StoreContent store = readStore(file_);
  if (!store.writable()) return false;
  RegistryMap& keys = store.keys;
  auto it = keys.find(foldRegistryName(full));
  if (it == keys.end() || !children(keys, full).empty()) return false;
  keys.erase(it);
  return writeStore(file_, keys);
}

std::vector<std::pair<std::string, std::string>> RegistryStore::values(RootKey root, std::string_view path) const {
  std::string full = fullPath(root, path);
  if (full.empty()) return {};
  StoreLock lock(file_, false);
  RegistryMap keys = readStore(file_).keys;
  auto it = keys.find(foldRegistryName(full));
  return it == keys.end() ? std::vector<std::pair<std::string, std::string>>{} : it->second.values;
}

std::vector<SubkeyValues> RegistryStore::subkeysWithValues(RootKey root, std::string_view path) const {
  std::string full = fullPath(root, path);
  if (full.empty()) return {};
  StoreLock lock(file_, false);
  RegistryMap keys = readStore(file_).keys;
  if (!path.empty() && keys.count(foldRegistryName(full)) == 0) return {};
  std::vector<SubkeyValues> out;
  for (const RegistryKeyRecord* child : children(keys, full))
    out.push_back({child->path.substr(child->path.rfind('\\') + 1), child->values});
  return out;
}

StoreProblem RegistryStore::problem() const {
  StoreLock lock(file_, false);
  return readStore(file_).problem;
}

}  // namespace kelvox::platform::installer
