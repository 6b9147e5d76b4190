// Which folder kelvox plays when it is given none, and what it says when there is none.
#include "shell/game_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_game.h"

namespace kelvox::shell {
namespace {

namespace fs = std::filesystem;

TEST(DefaultGameFolder, TheFirstFolderWithAScriptWins) {
  struct Case {
    const char* name;
    std::vector<std::string> files;  // below the sandbox; "dir:" makes a folder, "link:" a link to real/Code.ssb
    int expected;                    // index of the candidate found, -1 none
  };
  const Case cases[] = {
      {"nothing anywhere", {}, -1},
      {"the build tree's demo before the installed one", {"b/Script/Code.ssb", "c/Script/Code.ssb"}, 1},
      {"a game beside the program before any demo", {"a/Script/Code.ssb", "b/Script/Code.ssb"}, 0},
      {"names in any letter case", {"a/SCRIPT/code.SSB"}, 0},
      {"a folder named Code.ssb is no script", {"dir:a/Script/Code.ssb", "c/Script/Code.ssb"}, 2},
      {"a script reached through a link", {"real/Code.ssb", "link:b/Script/Code.ssb"}, 1},
      {"a dangling link", {"link:a/Script/Code.ssb"}, -1},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    for (const std::string& f : c.files) {
      if (f.starts_with("dir:")) {
        fs::create_directories(dir.path() / f.substr(4));
      } else if (f.starts_with("link:")) {
        fs::create_directories((dir.path() / f.substr(5)).parent_path());
        fs::create_symlink(dir.path() / "real/Code.ssb", dir.path() / f.substr(5));
      } else {
        dir.write(f, "");
      }
    }
    std::vector<fs::path> candidates{dir.path() / "a", dir.path() / "b", dir.path() / "c"};
    std::optional<fs::path> found = firstGameFolder(candidates);
    if (c.expected < 0)
      EXPECT_FALSE(found) << c.name;
    else
      EXPECT_EQ(found, candidates[c.expected]) << c.name;
  }
}

TEST(DefaultGameFolder, TheMessageNamesEveryPlaceOneALineWithoutControls) {
  std::string message = noGameMessage({"/x/bin", "/x/bad\x1b[2Jname"});
  EXPECT_NE(message.find("\n  /x/bin\n"), std::string::npos);
  EXPECT_NE(message.find("\n  /x/bad\\x1B[2Jname\n"), std::string::npos);
  EXPECT_EQ(message.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace kelvox::shell
