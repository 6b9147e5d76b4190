// POSIX file access: whole-file reads and atomic replacement.
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kelvox::platform {

namespace fs = std::filesystem;

namespace {
void setError(std::string* error, const char* what) {
  if (error) *error = std::string(what) + ": " + std::strerror(errno);
}
}  // namespace

std::optional<std::vector<uint8_t>> readWholeFile(const fs::path& file, std::string* error) {
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    setError(error, "open");
    return std::nullopt;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (error) *error = "not a regular file";
    close(fd);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      setError(error, "read");
      close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  close(fd);
  return bytes;
}

bool writeFileAtomic(const fs::path& file, std::span<const uint8_t> bytes, std::string* error) {
  fs::path temp = file;
  temp += ".tmp-XXXXXX";
  std::string pattern = temp.string();
  int fd = mkstemp(pattern.data());
  if (fd < 0) {
    setError(error, "create");
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      setError(error, "write");
      close(fd);
      unlink(pattern.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  fchmod(fd, 0644);
  if (fsync(fd) != 0 || close(fd) != 0) {
    setError(error, "flush");
    unlink(pattern.c_str());
    return false;
  }
  if (rename(pattern.c_str(), file.c_str()) != 0) {
    setError(error, "rename");
    unlink(pattern.c_str());
    return false;
  }
  return true;
}

bool isRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool isDirectory(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool createDirectory(const fs::path& path) {
  std::error_code ec;
  fs::create_directory(path, ec);
  return isDirectory(path);
}

bool setCurrentDirectory(const fs::path& path) { return chdir(path.c_str()) == 0; }

fs::path executableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path(ec) : exe.parent_path();
}

}  // namespace kelvox::platform
