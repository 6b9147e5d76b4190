// Deleting a file after this program has finished with it: Windows' MoveFileEx with the
// delay-until-reboot flag. On Linux a running program may delete its own file, so the file is
// removed when the program exits. Tests derive from the class to say that delayed deletion is
// unavailable, which sends the uninstaller down its WININIT.INI path.
#pragma once

#include <string>

namespace kelvox::platform::installer {

class DelayedDeletion {
 public:
  virtual ~DelayedDeletion() = default;
  // Arranges for [path] to be deleted when this process exits; false when it cannot.
  virtual bool deleteAtExit(const std::string& path);
};

}  // namespace kelvox::platform::installer
