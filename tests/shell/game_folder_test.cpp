// Where kelvox looks for a game when it is given none, and which folder counts as a game.
#include "shell/game_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_game.h"

namespace kelvox::shell {
namespace {

namespace fs = std::filesystem;

TEST(DefaultGameFolder, TheProgramsFolderThenTheBuildTreesDemoThenThePrefixsDemo) {
  EXPECT_EQ(defaultGameFolders("/opt/k/bin"),
            (std::vector<fs::path>{"/opt/k/bin", "/opt/k/bin/games/demo", "/opt/k/share/kelvox/demo"}));
  EXPECT_EQ(defaultGameFolders("/opt/k/bin/"),
            (std::vector<fs::path>{"/opt/k/bin/", "/opt/k/bin/games/demo", "/opt/k/share/kelvox/demo"}));
}

TEST(DefaultGameFolder, TheFirstFolderWithAScriptWins) {
  struct Case {
    const char* name;
    std::vector<std::string> files;  // created below the sandbox; "dir:" makes a folder
    int expected;                    // index of the candidate found, -1 none
  };
  const Case cases[] = {
      {"nothing anywhere", {}, -1},
      {"only the installed demo", {"c/Script/Code.ssb"}, 2},
      {"the build tree's demo before the installed one", {"b/Script/Code.ssb", "c/Script/Code.ssb"}, 1},
      {"a game beside the program before any demo", {"a/Script/Code.ssb", "b/Script/Code.ssb"}, 0},
      {"names in any letter case", {"a/SCRIPT/code.SSB"}, 0},
      {"a folder named Code.ssb is no script", {"dir:a/Script/Code.ssb", "c/Script/Code.ssb"}, 2},
      {"a Script folder without its code", {"a/Script/Data.ssb"}, -1},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    for (const std::string& f : c.files) {
      if (f.starts_with("dir:"))
        fs::create_directories(dir.path() / f.substr(4));
      else
        dir.write(f, "");
    }
    std::vector<fs::path> candidates{dir.path() / "a", dir.path() / "b", dir.path() / "c"};
    std::optional<fs::path> found = firstGameFolder(candidates);
    if (c.expected < 0)
      EXPECT_FALSE(found) << c.name;
    else
      EXPECT_EQ(found, candidates[c.expected]) << c.name;
  }
}

TEST(DefaultGameFolder, AScriptReachedThroughALinkCounts) {
  test::TempDir dir;
  dir.write("real/Code.ssb", "");
  fs::create_directories(dir.path() / "game/Script");
  fs::create_symlink(dir.path() / "real/Code.ssb", dir.path() / "game/Script/Code.ssb");
  EXPECT_TRUE(holdsGame(dir.path() / "game"));
  fs::remove(dir.path() / "real/Code.ssb");
  EXPECT_FALSE(holdsGame(dir.path() / "game"));  // the link now dangles
}

TEST(DefaultGameFolder, TheMessageNamesEveryPlaceOneALineWithoutControls) {
  std::string message = noGameMessage({"/x/bin", "/x/bin/games/demo", "/x/bad\x1b[2Jname"});
  EXPECT_NE(message.find("\n  /x/bin\n"), std::string::npos);
  EXPECT_NE(message.find("\n  /x/bin/games/demo\n"), std::string::npos);
  EXPECT_NE(message.find("\n  /x/bad\\x1B[2Jname\n"), std::string::npos);
  EXPECT_EQ(message.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace kelvox::shell
