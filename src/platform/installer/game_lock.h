// Whether a Kelvox game is running, seen through the engine's single-instance lock: the engine
// holds an advisory lock (flock) on "AppMutex.lock" in the runtime folder while a game runs.
// The uninstaller asks this before deleting the main program, whose deletion fails on Windows
// while the game runs.
#pragma once

#include <string>

namespace kelvox::platform::installer {

inline constexpr const char* kGameLockName = "AppMutex.lock";

// True when the lock file in [runtimeFolder] (with trailing '/') exists and its lock cannot be
// taken. A missing or unreadable lock file means no game runs. Taking the lock to test it
// releases it at once.
bool gameIsRunning(const std::string& runtimeFolder);

}  // namespace kelvox::platform::installer
