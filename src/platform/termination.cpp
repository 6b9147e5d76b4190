// The termination watcher: a thread in sigwait, a flag, and the helper processes of an open box.
#include "platform/termination.h"

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "platform/file_system.h"

namespace kelvox::platform {

namespace {

std::atomic<bool> requested{false};
std::atomic<int> openBoxes{0};

sigset_t terminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

// Kills every child process of this process. Only called while a message box is up, when the
// only children are the box's helpers; they inherited the blocked signals, so only SIGKILL
// reaches them, and they hold nothing but their connection to the display.
void endBoxHelpers() {
  std::error_code ec;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
    auto list = readWholeFile(task.path() / "children");
    std::istringstream children(list ? std::string(list->begin(), list->end()) : std::string());
    pid_t child = 0;
    while (children >> child)
      if (child > 0) kill(child, SIGKILL);
  }
}

void watch(sigset_t set) {
  std::chrono::steady_clock::time_point firstRequest;
  for (;;) {
    int signal = 0;
    if (sigwait(&set, &signal) != 0) continue;
    // The first request asks the game to end; a second one while the teardown runs ends the
    // program at once (Save\Sys is replaced atomically, and the lock goes with the process).
    // A duplicate that comes with the first (timeout(1) and a kill of the process group
    // deliver the same request twice) is still the first request.
    auto now = std::chrono::steady_clock::now();
    if (requested.exchange(true)) {
      if (now - firstRequest >= std::chrono::seconds(1)) std::_Exit(128 + signal);
      continue;
    }
    firstRequest = now;
    // A box opening just now may fork its helper a moment later: keep looking until no box is up.
    while (openBoxes.load() > 0) {
      endBoxHelpers();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
}

}  // namespace

void watchTerminationSignals() {
  static std::atomic<bool> started{false};
  if (started.exchange(true)) return;
  sigset_t set = terminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(watch, set).detach();
}

bool terminationRequested() { return requested.load(); }

void requestTermination() { requested.store(true); }

ModalBoxScope::ModalBoxScope() { openBoxes.fetch_add(1); }

ModalBoxScope::~ModalBoxScope() { openBoxes.fetch_sub(1); }

}  // namespace kelvox::platform
