// flock-based single-instance lock in the user's runtime folder.
#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelvox::platform {

namespace fs = std::filesystem;

namespace {

fs::path runtimeFolder(const fs::path& fallbackBase, bool& isFallback) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  isFallback = !(runtime && *runtime);
  return isFallback ? fallbackBase / ("kelvox-" + std::to_string(getuid())) : fs::path(runtime);
}

std::string octal(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

}  // namespace

InstanceLock::InstanceLock(std::string name, fs::path fallbackBase)
    : name_(std::move(name)), fallbackBase_(std::move(fallbackBase)) {}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
}

fs::path InstanceLock::lockFile() const {
  bool fallback = false;
  return runtimeFolder(fallbackBase_, fallback) / (name_ + ".lock");
}

fs::path InstanceLock::lockFolder(std::string& error) const {
  bool fallback = false;
  fs::path folder = runtimeFolder(fallbackBase_, fallback);
  if (fallback && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = "cannot make the lock folder " + folder.string() + ": " + std::strerror(errno);
    return {};
  }
  struct stat st {};
  // lstat: a symbolic link in /tmp could point anywhere, so it is not followed.
  if ((fallback ? lstat(folder.c_str(), &st) : stat(folder.c_str(), &st)) != 0) {
    error = "cannot use the lock folder " + folder.string() + ": " + std::strerror(errno);
    return {};
  }
  if (!S_ISDIR(st.st_mode)) {
    error = "the lock folder " + folder.string() + " is not a folder";
    return {};
  }
  if (fallback && (st.st_uid != getuid() || (st.st_mode & 077) != 0)) {
    error = "the lock folder " + folder.string() + " must belong to this user (uid " + std::to_string(getuid()) +
            ") with mode 0700; it has owner " + std::to_string(st.st_uid) + " and mode " + octal(st.st_mode);
    return {};
  }
  return folder;
}

InstanceLock::Result InstanceLock::tryAcquire(std::string* error) {
  if (fd_ >= 0) return Result::Acquired;
  std::string why;
  auto failed = [&] {
    if (error) *error = why;
    return Result::Failed;
  };
  fs::path folder = lockFolder(why);
  if (folder.empty()) return failed();
  fs::path file = folder / (name_ + ".lock");
  int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    why = "cannot open the lock file " + file.string() + ": " + std::strerror(errno);
    return failed();
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    close(fd);
    if (err == EWOULDBLOCK) return Result::HeldElsewhere;
    why = "cannot lock " + file.string() + ": " + std::strerror(err);
    return failed();
  }
  fd_ = fd;
  return Result::Acquired;
}

bool InstanceLock::isHeld(const std::string& name) {
  InstanceLock probe(name);
  return !probe.acquire();
}

}  // namespace kelvox::platform
