// posix_spawn-based process start. The child gets this process's environment and its own
// working folder (set in the child, so ours stays put).
#include "platform/installer/processes.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace kelvox::platform::installer {
namespace {

// Spawns; returns the child's id or -1. [searchPath] looks the program up on PATH.
pid_t spawn(const std::string& program, const std::vector<std::string>& args,
            const std::string& workingFolder, bool searchPath) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  pid_t pid = -1;
  int r = searchPath ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
                     : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return r == 0 ? pid : -1;
}

}  // namespace

bool Processes::start(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workingFolder) {
  return spawn(program, args, workingFolder, false) > 0;
}

std::optional<int> Processes::run(const std::string& program, const std::vector<std::string>& args,
                                  const std::string& workingFolder) {
  pid_t pid = spawn(program, args, workingFolder, false);
  if (pid <= 0) return std::nullopt;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);  // the shells' convention
  return WEXITSTATUS(status);
}

bool Processes::openDocument(const std::string& document) {
  return spawn("xdg-open", {document}, {}, true) > 0;
}

std::string runningProgramPath() {
  std::string path(4096, '\0');
  ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<size_t>(n) >= path.size()) return {};
  path.resize(static_cast<size_t>(n));
  return path;
}

}  // namespace kelvox::platform::installer
