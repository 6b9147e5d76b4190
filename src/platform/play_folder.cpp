// The player's own folder for a game installed elsewhere: links to the game's entries.
#include "platform/play_folder.h"

#include <cstdlib>

#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace kelvox::platform {
namespace {

std::optional<fs::path> absoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return fs::path(value);
}

bool isSaveFolderName(const std::string& name) { return asciiToLower(name) == "save"; }

// The last two names of [folder]: "kelvox/demo" for PREFIX/share/kelvox/demo.
fs::path lastTwoNames(const fs::path& folder) {
  fs::path clean = folder.lexically_normal();
  if (!clean.has_filename()) clean = clean.parent_path();
  return clean.parent_path().filename() / clean.filename();
}

// True if [link], a symbolic link, was made by linkPlayFolder for a copy of [game] that is
// not [game]: it names an entry of its own name in a folder whose last two names are [game]'s.
bool isOurStaleLink(const fs::path& link, const fs::path& game) {
  std::error_code ec;
  fs::path target = fs::read_symlink(link, ec);
  if (ec || !target.is_absolute() || target.filename() != link.filename()) return false;
  return lastTwoNames(target.parent_path()) == lastTwoNames(game);
}

// Puts a link to [target] at [at] in one step: made beside it and renamed over the old link,
// so [at] is never missing and what [at] pointed to is never touched.
bool replaceLink(const fs::path& target, const fs::path& at, std::string& error) {
  std::error_code ec;
  fs::path fresh = at;
  fresh += ".new-link";
  // A leftover of an interrupted run is a link; anything else of that name is the player's.
  if (fs::is_symlink(fs::symlink_status(fresh, ec))) fs::remove(fresh, ec);
  fs::create_symlink(target, fresh, ec);
  const bool made = !ec;
  if (made) fs::rename(fresh, at, ec);
  if (ec) {
    std::error_code ignored;
    if (made) fs::remove(fresh, ignored);
    error = "cannot link " + at.string() + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace

std::optional<fs::path> userPlayFolder(std::string_view name) {
  if (auto data = absoluteEnv("XDG_DATA_HOME")) return *data / "kelvox" / name;
  if (auto home = absoluteEnv("HOME")) return *home / ".local" / "share" / "kelvox" / name;
  return std::nullopt;
}

bool linkPlayFolder(const fs::path& game, const fs::path& play, std::string& error) {
  std::error_code ec;
  fs::create_directories(play, ec);
  fs::file_status status = fs::symlink_status(play, ec);
  if (ec || !fs::is_directory(status)) {
    error = play.string() + " is not a folder of its own" + (ec ? ": " + ec.message() : std::string());
    return false;
  }
  fs::directory_iterator entries(game, ec);
  for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
    const fs::path source = entries->path(), name = source.filename();
    if (isSaveFolderName(name.string())) continue;
    const fs::path at = play / name;
    std::error_code ignored;
    fs::file_status here = fs::symlink_status(at, ignored);
    if (!fs::exists(here)) {
      std::error_code linkError;
      fs::create_symlink(source, at, linkError);
      // Another kelvox starting at the same moment may have made the same link first.
      if (linkError == std::errc::file_exists && fs::read_symlink(at, ignored) == source) linkError.clear();
      if (linkError) {
        error = "cannot link " + at.string() + ": " + linkError.message();
        return false;
      }
    } else if (fs::is_symlink(here) && fs::read_symlink(at, ignored) != source && isOurStaleLink(at, game)) {
      if (!replaceLink(source, at, error)) return false;
    }
  }
  if (ec) {
    error = "cannot read " + game.string() + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace kelvox::platform
