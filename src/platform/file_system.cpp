// POSIX file access: bounded whole-file reads, and atomic replacement through AtomicFile.
#include "platform/file_system.h"

#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace kelvox::platform {

namespace fs = std::filesystem;

std::optional<std::vector<uint8_t>> readRegularFile(const fs::path& file, uint64_t maxBytes, ReadFailure* failure,
                                                    Links links) {
  using Kind = ReadFailure::Kind;
  auto fail = [&](Kind kind, std::string reason) -> std::optional<std::vector<uint8_t>> {
    if (failure) *failure = {kind, std::move(reason)};
    return std::nullopt;
  };
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (links == Links::Refuse ? O_NOFOLLOW : 0);
  int fd = open(file.c_str(), flags);
  if (fd < 0) {
    int err = errno;
    if (err == ELOOP && links == Links::Refuse) return fail(Kind::NotRegularFile, "a symbolic link");
    return fail(err == ENOENT || err == ENOTDIR ? Kind::Missing : Kind::Unreadable,
                std::string("open: ") + std::strerror(err));
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return fail(Kind::NotRegularFile, "not a regular file");
  }
  if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    close(fd);
    return fail(Kind::TooLarge, "larger than " + std::to_string(maxBytes) + " bytes");
  }
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      close(fd);
      return fail(Kind::Unreadable, std::string("read: ") + std::strerror(err));
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
    if (bytes.size() > maxBytes) {  // the file grew while we read it
      close(fd);
      return fail(Kind::TooLarge, "larger than " + std::to_string(maxBytes) + " bytes");
    }
  }
  close(fd);
  return bytes;
}

std::optional<std::vector<uint8_t>> readWholeFile(const fs::path& file, std::string* error) {
  ReadFailure failure;
  auto bytes = readRegularFile(file, kMaxWholeFileBytes, &failure);
  if (!bytes && error) *error = failure.reason;
  return bytes;
}

bool writeFileAtomic(const fs::path& file, std::span<const uint8_t> bytes, std::string* error,
                     std::optional<unsigned> mode) {
  AtomicFile out(file);
  std::string why;
  bool ok = out.open(why);
  if (ok) {
    if (mode) out.setMode(*mode);  // like a write error, a failure is the commit's to report
    out.write(bytes);  // a write error is the commit's to report
    ok = out.commit(why);
  }
  if (!ok && error) *error = why;
  return ok;
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
