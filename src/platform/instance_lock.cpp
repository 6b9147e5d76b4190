// flock-based single-instance lock in the user's runtime folder.
#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace kelvox::platform {

namespace fs = std::filesystem;

fs::path InstanceLock::lockFile(const std::string& name) {
  fs::path folder;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
    folder = runtime;
  else
    folder = fs::path("/tmp") / ("kelvox-" + std::to_string(getuid()));
  std::error_code ec;
  fs::create_directories(folder, ec);
  return folder / (name + ".lock");
}

InstanceLock::InstanceLock(std::string name) : name_(std::move(name)) {}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
}

bool InstanceLock::acquire() {
  if (fd_ >= 0) return true;
  int fd = open(lockFile(name_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool InstanceLock::isHeld(const std::string& name) {
  InstanceLock probe(name);
  return !probe.acquire();
}

}  // namespace kelvox::platform
