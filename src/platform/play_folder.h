// A game kept where the player should not write (the demo installed below PREFIX/share) is
// played from a folder of the player's own: its entries are symbolic links to the game's, and
// its Save/ is a real folder, so saved games and screenshots land there while the installed
// files stay as the package made them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvox::platform {

// $XDG_DATA_HOME/kelvox/[name] (XDG_DATA_HOME only when absolute), else
// $HOME/.local/share/kelvox/[name]; nullopt when neither variable names an absolute folder.
std::optional<std::filesystem::path> userPlayFolder(std::string_view name);

// Makes [play] (and the folders above it) a folder that plays [game]: for each entry of [game]
// except Save (any letter case) a link of that name to it. Entries of the player's own in
// [play] are left alone: a file, a folder, a link to anything but an entry of the same name in
// a copy of the game (a folder whose last two names are [game]'s, as after a prefix moved),
// which is pointed at [game] instead. False with [error] when [play] cannot be made or is not
// a folder of its own (a link to a folder is refused, never followed).
bool linkPlayFolder(const std::filesystem::path& game, const std::filesystem::path& play, std::string& error);

}  // namespace kelvox::platform
