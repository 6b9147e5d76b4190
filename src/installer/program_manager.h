// The old shell's Program Manager, reached through a DDE conversation with the service and
// topic "PROGMAN". Linux has no such server: the installer reports a new shell and this path
// is only taken with a test's implementation, which records the commands.
#pragma once

#include <string_view>

namespace kelvox::installer {

class ProgramManager {
 public:
  virtual ~ProgramManager() = default;
  // Opens the conversation; false when no server answers.
  virtual bool connect() = 0;
  // Sends one execute transaction (10 s time-out). False once the server has disconnected:
  // the conversation is forgotten and later commands are not sent.
  virtual bool execute(std::string_view command) = 0;
  virtual void disconnect() = 0;
};

}  // namespace kelvox::installer
