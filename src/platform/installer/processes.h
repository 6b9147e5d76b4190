// Starting programs, the installer's stand-in for WinExec and ShellExecute: posix_spawn for
// programs, xdg-open for documents. The class is the Linux implementation; tests derive from it
// to record what would have been started.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvox::platform::installer {

class Processes {
 public:
  virtual ~Processes() = default;

  // Starts [program] with [args] (argv[1]…) in [workingFolder] and does not wait. False when
  // it could not be started (missing, not executable, unknown format), as WinExec's result
  // below 32.
  virtual bool start(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workingFolder);

  // As start(), then waits for the program; its exit status (128 + the signal's number when
  // a signal ended it), or nullopt if it could not be started.
  virtual std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& workingFolder);

  // Opens [document] with the desktop's handler (xdg-open, found on PATH); false if xdg-open
  // could not be started.
  virtual bool openDocument(const std::string& document);
};

// The absolute path of this program's file (/proc/self/exe), or "" when it cannot be read.
std::string runningProgramPath();

}  // namespace kelvox::platform::installer
