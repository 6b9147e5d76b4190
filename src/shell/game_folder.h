// Where kelvox finds its game when the command line names none: a game beside the program (a
// distribution folder, an installed game), then the bundled demo of a build tree
// (build/games/demo beside build/kelvox), then the demo installed under the program's prefix
// (PREFIX/share/kelvox/demo beside PREFIX/bin/kelvox). All are found from the program's own
// folder, so a build tree or a prefix that is moved elsewhere still finds its demo.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelvox::shell {

// The folders looked at, in order, for a program in [programFolder]; the last is the
// installed demo.
std::vector<std::filesystem::path> defaultGameFolders(const std::filesystem::path& programFolder);

// True if [folder] holds a game: its Script\Code.ssb (any letter case) is a regular file, or a
// link to one.
bool holdsGame(const std::filesystem::path& folder);

// The first of [candidates] that holds a game, or nullopt.
std::optional<std::filesystem::path> firstGameFolder(const std::vector<std::filesystem::path>& candidates);

// What kelvox says when none of [candidates] holds a game: every place it looked, and how to
// name a game instead; several lines, the paths' control characters escaped.
std::string noGameMessage(const std::vector<std::filesystem::path>& candidates);

}  // namespace kelvox::shell
