// The single-instance lock, the stand-in for the named mutex "AppMutex": an advisory lock
// (flock) on the file "AppMutex.lock" in the user's runtime folder ($XDG_RUNTIME_DIR, else
// /tmp/kelvox-<uid>/). Held from acquire until the object is destroyed or the process ends;
// another process (or another InstanceLock in this one) cannot take it meanwhile.
//
// The /tmp fallback is shared ground: the folder is made with mode 0700 and used only while it
// is a real folder owned by this user and closed to everyone else, so nobody else can take,
// replace or hold the lock in the user's place.
#pragma once

#include <filesystem>
#include <string>

namespace kelvox::platform {

class InstanceLock {
 public:
  enum class Result {
    Acquired,       // this object holds the lock now
    HeldElsewhere,  // another holder has it: another copy runs
    Failed,         // no lock could be made (an unusable folder or file); the error says why
  };

  // [fallbackBase] is where the kelvox-<uid> folder goes without XDG_RUNTIME_DIR (tests only
  // change it).
  explicit InstanceLock(std::string name = "AppMutex", std::filesystem::path fallbackBase = "/tmp");
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock without waiting; on Failed, [error] (if given) says what is wrong in English.
  Result tryAcquire(std::string* error = nullptr);
  // tryAcquire() == Acquired.
  bool acquire() { return tryAcquire() == Result::Acquired; }
  // True unless the lock could be taken (tries it and lets it go at once): a lock that cannot
  // even be made counts as held, so a caller that waits for the game to end stays careful.
  static bool isHeld(const std::string& name = "AppMutex");

  // The lock file's path (nothing is created).
  std::filesystem::path lockFile() const;

 private:
  // The folder of the lock file, made and checked; empty with [error] when it is unusable.
  std::filesystem::path lockFolder(std::string& error) const;

  std::string name_;
  std::filesystem::path fallbackBase_;
  int fd_ = -1;
};

}  // namespace kelvox::platform
