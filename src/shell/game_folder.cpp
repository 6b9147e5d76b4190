// Finding the game kelvox runs when it is started without a folder.
#include "shell/game_folder.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/terminal_text.h"

namespace fs = std::filesystem;

namespace kelvox::shell {

std::vector<fs::path> defaultGameFolders(const fs::path& programFolder) {
  // Lexically normal, so that the message names ".../share/kelvox/demo", not ".../bin/../share".
  return {programFolder.lexically_normal(), (programFolder / "games" / "demo").lexically_normal(),
          (programFolder / ".." / "share" / "kelvox" / "demo").lexically_normal()};
}

bool holdsGame(const fs::path& folder) {
  return platform::isRegularFile(platform::Paths(folder).resolve("Script\\Code.ssb"));
}

std::optional<fs::path> firstGameFolder(const std::vector<fs::path>& candidates) {
  for (const fs::path& folder : candidates)
    if (holdsGame(folder)) return folder;
  return std::nullopt;
}

std::string noGameMessage(const std::vector<fs::path>& candidates) {
  std::string message = "no game found: none of these folders holds Script/Code.ssb:";
  // One folder a line, each escaped on its own so that a name cannot drive the terminal.
  for (const fs::path& folder : candidates) message += "\n  " + platform::escapeControls(folder.string());
  return message + "\nName the game's folder: kelvox GAME_DIR (see --help)";
}

}  // namespace kelvox::shell
