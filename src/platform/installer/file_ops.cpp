// POSIX implementation of the installer's file operations.
#include "platform/installer/file_ops.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/file_system.h"
#include "platform/write_all.h"

namespace kelvox::platform::installer {
namespace {

std::string withoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool closeChecked() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace

PathKind FileOps::kind(const std::string& path, bool followLinks) const {
  if (path.empty()) return PathKind::None;
  std::string p = withoutTrailingSlash(path);
  struct stat st {};
  int r = followLinks ? ::stat(p.c_str(), &st) : ::lstat(p.c_str(), &st);
  if (r != 0) return PathKind::None;
  return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
}

bool FileOps::makeFolder(const std::string& path) {
  return ::mkdir(withoutTrailingSlash(path).c_str(), 0755) == 0;
}

bool FileOps::removeFolder(const std::string& path) {
  return ::rmdir(withoutTrailingSlash(path).c_str()) == 0;
}

bool FileOps::removeFile(const std::string& path) {
  if (kind(path) != PathKind::File) return false;
  return ::unlink(path.c_str()) == 0;
}

CopyResult FileOps::copyFile(const std::string& from, const std::string& to, bool executable) {
  // Non-blocking, so that a FIFO among the sources is refused instead of waited on.
  Fd in(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat src {};
  if (in.get() < 0 || ::fstat(in.get(), &src) != 0 || !S_ISREG(src.st_mode)) return CopyResult::Failed;

  struct stat dst {};
  bool existed = ::lstat(to.c_str(), &dst) == 0;
  if (existed && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) return CopyResult::Copied;

  mode_t mode = (src.st_mode & 0777) | S_IRUSR | S_IWUSR;
  if (executable) mode |= (mode & 0444) >> 2;  // r → x for owner, group, others

  Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, mode));
  if (out.get() < 0) return errno == ETXTBSY ? CopyResult::InUse : CopyResult::Failed;

  bool ok = true;
  char buffer[64 * 1024];
  while (ok) {
    ssize_t n = ::read(in.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    ok = writeAll(out.get(), buffer, static_cast<size_t>(n));
  }
  ok = ok && ::fchmod(out.get(), mode) == 0;
  ok = out.closeChecked() && ok;
  if (!ok) {
    ::unlink(to.c_str());
    return CopyResult::Failed;
  }
  return CopyResult::Copied;
}

std::vector<std::string> FileOps::list(const std::string& folder) const {
  std::vector<std::string> names;
  DIR* dir = ::opendir(withoutTrailingSlash(folder).c_str());
  if (dir == nullptr) return names;
  while (const dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

uint64_t FileOps::freeSpaceFigure(const std::string& path) const {
  std::string p = withoutTrailingSlash(path);
  while (!p.empty() && kind(p, true) != PathKind::Folder) {
    size_t cut = p.rfind('/');
    if (cut == std::string::npos) return 0;
    p = cut == 0 ? "/" : p.substr(0, cut);
  }
  struct statvfs fs {};
  if (p.empty() || ::statvfs(p.c_str(), &fs) != 0) return 0;
  return static_cast<uint64_t>(fs.f_bavail / 10) * static_cast<uint64_t>(fs.f_frsize);
}

std::optional<std::string> FileOps::readFile(const std::string& path, uint64_t limit) const {
  auto bytes = readRegularFile(path, limit, nullptr);
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

bool FileOps::writeFile(const std::string& path, const std::string& content, unsigned mode) {
  return writeFileAtomic(path, std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()), nullptr,
                         mode);
}

bool FileOps::isExecutable(const std::string& path) const {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111) != 0;
}

std::string FileOps::realPath(const std::string& path) const {
  if (path.empty() || path.front() != '/') return {};
  bool folder = path.back() == '/';
  // Lexically first, so that "a/missing/../b" does not depend on what exists.
  std::vector<std::string> parts;
  for (size_t start = 1; start <= path.size();) {
    size_t cut = path.find('/', start);
    if (cut == std::string::npos) cut = path.size();
    std::string part = path.substr(start, cut - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    start = cut + 1;
  }
  // The longest existing head is resolved by the system; the rest cannot hold links.
  for (size_t head = parts.size() + 1; head-- > 0;) {
    std::string prefix = "/";
    for (size_t i = 0; i < head; ++i) prefix += (i ? "/" : "") + parts[i];
    char* resolved = ::realpath(prefix.c_str(), nullptr);
    if (resolved == nullptr) {
      if (errno == ELOOP) return {};
      continue;
    }
    std::string out = resolved;
    std::free(resolved);
    for (size_t i = head; i < parts.size(); ++i) out += (out.back() == '/' ? "" : "/") + parts[i];
    if (folder && out.back() != '/') out += '/';
    return out;
  }
  return {};
}

}  // namespace kelvox::platform::installer
