// Removes the files named through deleteAtExit from an exit handler.
#include "platform/installer/delayed_deletion.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace kelvox::platform::installer {
namespace {

// Never destroyed: the exit handler may run after static destructors.
std::vector<std::string>& pending() {
  static auto* files = new std::vector<std::string>;
  return *files;
}

void removePending() {
  for (const auto& f : pending()) ::unlink(f.c_str());
}

}  // namespace

bool DelayedDeletion::deleteAtExit(const std::string& path) {
  static const bool registered = std::atexit(removePending) == 0;
  if (!registered) return false;
  pending().push_back(path);
  return true;
}

}  // namespace kelvox::platform::installer
