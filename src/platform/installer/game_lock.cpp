// Tests the engine's flock-based single-instance lock without creating the lock file.
#include "platform/installer/game_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace kelvox::platform::installer {

bool gameIsRunning(const std::string& runtimeFolder) {
  int fd = ::open((runtimeFolder + kGameLockName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int r;
  do {
    r = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (r != 0 && errno == EINTR);
  bool running = r != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // closing drops the lock if we got it
  return running;
}

}  // namespace kelvox::platform::installer
