// Test fixtures: a temporary folder, and a game folder assembled from inline source with a
// host created on it over the headless platform (on its VirtualClock).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "shell/engine_host.h"
#include "vm/machine_context.h"

namespace kelvox::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  // Writes [bytes] to [relative] below the folder, creating folders on the way.
  void write(const std::string& relative, std::string_view bytes) const;
  std::string read(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// Writes the script files of [source] into [folder] (Data.ssb scrambled as on disk).
void writeScript(const std::filesystem::path& folder, std::string_view source);

// A game folder made from [source] and a host created on it (createHost ran; the machine is
// at pc 0). Extra files can be put in place first with the second constructor.
class TestGame {
 public:
  explicit TestGame(std::string_view source);
  TestGame(std::string_view source, const std::vector<std::pair<std::string, std::string>>& files);
  ~TestGame();

  vm::MachineContext& m() { return *host->machine; }
  platform::HeadlessDialogs& dialogs() { return platform->dialogs(); }
  platform::HeadlessWindow& window() { return platform->window(); }
  platform::VirtualClock& clock() { return platform->virtualClock(); }

  // One slice; a raised error is returned as its displayed text (UTF-8), else "".
  std::string slice();
  // paramStack from bottom to top.
  std::vector<int32_t> stack();

  TempDir dir;
  std::unique_ptr<platform::HeadlessPlatform> platform;
  std::unique_ptr<shell::EngineHost> host;
};

// The displayed text of the error [work] raises, in UTF-8; "" if it raises none.
template <typename Work>
std::string errorOf(Work&& work);

}  // namespace kelvox::test

#include "support/test_game_inl.h"
