// The single-instance lock, the stand-in for the named mutex "AppMutex": an advisory lock
// (flock) on the file "AppMutex.lock" in the user's runtime folder ($XDG_RUNTIME_DIR, else
// /tmp/kelvox-<uid>/). Held from acquire until the object is destroyed or the process ends;
// another process (or another InstanceLock in this one) cannot take it meanwhile.
#pragma once

#include <filesystem>
#include <string>

namespace kelvox::platform {

class InstanceLock {
 public:
  explicit InstanceLock(std::string name = "AppMutex");
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock without waiting. False if another holder has it (or the lock file cannot
  // be opened, which is treated the same way only when the folder exists but is unusable).
  bool acquire();
  // True if some process holds the lock now (tries it and lets it go at once).
  static bool isHeld(const std::string& name = "AppMutex");

  static std::filesystem::path lockFile(const std::string& name);

 private:
  std::string name_;
  int fd_ = -1;
};

}  // namespace kelvox::platform
