// POSIX side of AtomicFile: the temporary, its lock, the checks of the target and the clean-up
// of temporaries that a killed writer left.
#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include "platform/write_all.h"

namespace kelvox::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTempMarker = ".tmp-";
constexpr size_t kSuffixLength = 6;
constexpr std::string_view kSuffixAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string systemError(const char* step) { return std::string(step) + ": " + std::strerror(errno); }

bool isSuffixChar(char c) { return kSuffixAlphabet.find(c) != std::string_view::npos; }

std::string randomSuffix() {
  static thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<size_t> pick(0, kSuffixAlphabet.size() - 1);
  std::string s;
  for (size_t i = 0; i < kSuffixLength; ++i) s += kSuffixAlphabet[pick(generator)];
  return s;
}

// The folder to flush after a rename: the target's, or the current one for a bare name.
fs::path folderOf(const fs::path& target) {
  fs::path folder = target.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// The target may be replaced: nothing there, or a regular file. Else the reason in [error].
bool replaceable(const fs::path& target, std::string& error) {
  PathKind kind = pathKind(target);
  if (kind == PathKind::Missing || kind == PathKind::RegularFile) return true;
  error = std::string("replace: ") + describePathKind(kind) + " is there, not a regular file";
  return false;
}

}  // namespace

PathKind pathKind(const fs::path& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return PathKind::Missing;
  if (S_ISREG(st.st_mode)) return PathKind::RegularFile;
  if (S_ISDIR(st.st_mode)) return PathKind::Folder;
  if (S_ISLNK(st.st_mode)) return PathKind::SymbolicLink;
  if (S_ISFIFO(st.st_mode)) return PathKind::Fifo;
  if (S_ISCHR(st.st_mode)) return PathKind::CharacterDevice;
  return PathKind::Other;
}

const char* describePathKind(PathKind kind) {
  switch (kind) {
    case PathKind::Missing:
    case PathKind::RegularFile: return "";
    case PathKind::Folder: return "a folder";
    case PathKind::SymbolicLink: return "a symbolic link";
    case PathKind::Fifo: return "a FIFO";
    case PathKind::CharacterDevice: return "a device";
    case PathKind::Other: return "a device or socket";
  }
  return "";
}

AtomicFile::AtomicFile(fs::path target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() { abandon(); }

bool AtomicFile::open(std::string& error) {
  abandon();
  failed_ = false;
  failure_.clear();
  if (!replaceable(target_, error)) return false;
  removeStaleTemporaries(folderOf(target_), target_.filename().native());
  // A name taken already (another writer, a look-alike planted there) is never opened: O_EXCL
  // fails and the next name is tried.
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temp = target_;
    temp += std::string(kTempMarker) + randomSuffix();
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      error = systemError("create");
      return false;
    }
    // Held until the file is closed: removeStaleTemporaries leaves a temporary that is locked.
    flock(fd, LOCK_EX | LOCK_NB);
    fd_ = fd;
    temp_ = std::move(temp);
    return true;
  }
  error = "create: no free temporary name";
  return false;
}

bool AtomicFile::setMode(unsigned mode) {
  if (fd_ < 0 || failed_) return false;
  if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) {
    failed_ = true;
    failure_ = systemError("chmod");
    return false;
  }
  return true;
}

bool AtomicFile::write(std::span<const uint8_t> bytes) {
  if (fd_ < 0 || failed_) return false;
  if (!writeAll(fd_, bytes.data(), bytes.size())) {
    failed_ = true;
    failure_ = systemError("write");
    return false;
  }
  return true;
}

bool AtomicFile::writeAt(uint64_t offset, std::span<const uint8_t> bytes) {
  if (fd_ < 0 || failed_) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      failure_ = systemError("write");
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool AtomicFile::commit(std::string& error) {
  if (fd_ < 0) {
    error = "write: the file was not opened";
    return false;
  }
  bool ok = !failed_;
  if (!ok) error = failure_;
  if (ok && ::fsync(fd_) != 0) {
    error = systemError("flush");
    ok = false;
  }
  // The lock goes with the descriptor; the name is renamed at once after.
  if (::close(fd_) != 0 && ok) {
    error = systemError("flush");
    ok = false;
  }
  fd_ = -1;
  // Checked again: something may have been put there while the file was written.
  if (ok) ok = replaceable(target_, error);
  if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) {
    error = systemError("rename");
    ok = false;
  }
  if (!ok) {
    ::unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  // The rename is durable once the folder is flushed. A file system that cannot flush a
  // folder has still renamed: the new file is in place, so this is not a failure.
  int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

void AtomicFile::abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool isTemporaryName(std::string_view fileName, std::string_view target) {
  const size_t tail = kTempMarker.size() + kSuffixLength;
  if (fileName.size() <= tail) return false;
  std::string_view base = fileName.substr(0, fileName.size() - tail);
  std::string_view marker = fileName.substr(base.size(), kTempMarker.size());
  std::string_view suffix = fileName.substr(fileName.size() - kSuffixLength);
  if (marker != kTempMarker) return false;
  for (char c : suffix)
    if (!isSuffixChar(c)) return false;
  return target.empty() || base == target;
}

size_t removeStaleTemporaries(const fs::path& folder, std::string_view target) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return 0;
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir))
    if (isTemporaryName(e->d_name, target)) names.emplace_back(e->d_name);
  ::closedir(dir);

  size_t removed = 0;
  for (const std::string& name : names) {
    fs::path path = folder / name;
    // O_NOFOLLOW: a link of that name is not opened (and so not removed); O_NONBLOCK: a FIFO
    // does not wait for a writer before it is seen to be one.
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) continue;
    struct stat opened {}, named {};
    bool stale = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                 ::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
    // Removed while the lock is held, so no writer can take the name meanwhile.
    if (stale && ::unlink(path.c_str()) == 0) ++removed;
    ::close(fd);
  }
  return removed;
}

}  // namespace kelvox::platform
