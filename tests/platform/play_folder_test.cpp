// The player's own folder for an installed game: links to the game's entries but Save, the
// player's own entries left alone, links of a moved copy followed to the game, and a play
// folder that is a link refused without writing through it.
#include "platform/play_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

// An installed game below [root]/new/kelvox/demo with a script, pictures, a settings file,
// a name with quotes and a control byte, and a Save folder with a sentinel in it.
fs::path makeGame(const test::TempDir& root) {
  root.write("new/kelvox/demo/Script/Code.ssb", "code");
  root.write("new/kelvox/demo/Grd/a.png", "png");
  root.write("new/kelvox/demo/Kelvox.ini", "ini");
  root.write("new/kelvox/demo/it's \"odd\"\x01", "odd");
  root.write("new/kelvox/demo/SAVE/Sys", "sentinel");
  return root.path() / "new/kelvox/demo";
}

TEST(PlayFolder, LinksEveryEntryButSave) {
  test::TempDir root;
  fs::path game = makeGame(root), play = root.path() / "home/kelvox/demo";
  std::string error;
  ASSERT_TRUE(linkPlayFolder(game, play, error)) << error;
  for (const char* name : {"Script", "Grd", "Kelvox.ini", "it's \"odd\"\x01"}) {
    EXPECT_TRUE(fs::is_symlink(play / name)) << name;
    EXPECT_EQ(fs::read_symlink(play / name), game / name) << name;
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(play / "SAVE")));
  EXPECT_EQ(root.read("home/kelvox/demo/Script/Code.ssb"), "code");
  ASSERT_TRUE(linkPlayFolder(game, play, error)) << error;  // a second start changes nothing
  EXPECT_EQ(fs::read_symlink(play / "Grd"), game / "Grd");
}

TEST(PlayFolder, ThePlayersEntriesStayAndOurLinksOfAMovedCopyFollow) {
  struct Case {
    const char* name;
    const char* entry;        // in the play folder before the start
    fs::path (*made)(const fs::path& root);  // what is there: makes it, returns a link's target or ""
    bool followsGame;         // afterwards a link to the game's entry
  };
  const Case cases[] = {
      {"a file of the player's", "Kelvox.ini",
       [](const fs::path& r) {
         std::ofstream(r / "home/kelvox/demo/Kelvox.ini") << "mine";
         return fs::path();
       },
       false},
      {"a link to the player's own pictures", "Grd", [](const fs::path& r) { return r / "mine/Grd"; }, false},
      {"a link to another game's entry of another name", "Grd", [](const fs::path& r) { return r / "old/kelvox/demo/Pics"; },
       false},
      {"a link of a moved copy, dangling", "Script", [](const fs::path& r) { return r / "old/kelvox/demo/Script"; }, true},
      {"a link of a moved copy, relative", "Script", [](const fs::path&) { return fs::path("../old/kelvox/demo/Script"); },
       false},
  };
  for (const Case& c : cases) {
    test::TempDir root;
    fs::path game = makeGame(root), play = root.path() / "home/kelvox/demo";
    fs::create_directories(play);
    fs::path target = c.made(root.path());
    if (!target.empty()) fs::create_symlink(target, play / c.entry);
    std::string error;
    ASSERT_TRUE(linkPlayFolder(game, play, error)) << c.name << ": " << error;
    if (c.followsGame) {
      EXPECT_EQ(fs::read_symlink(play / c.entry), game / c.entry) << c.name;
    } else if (!target.empty()) {
      EXPECT_EQ(fs::read_symlink(play / c.entry), target) << c.name;
    } else {
      EXPECT_FALSE(fs::is_symlink(play / c.entry)) << c.name;
      EXPECT_EQ(root.read("home/kelvox/demo/Kelvox.ini"), "mine") << c.name;
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(play / (std::string(c.entry) + ".new-link")))) << c.name;
  }
}

TEST(PlayFolder, APlayFolderThatIsNotAFolderOfItsOwnIsRefused) {
  test::TempDir root;
  fs::path game = makeGame(root);
  fs::create_directories(root.path() / "elsewhere");
  fs::create_symlink(root.path() / "elsewhere", root.path() / "linked");
  root.write("file", "sentinel");
  std::string error;
  EXPECT_FALSE(linkPlayFolder(game, root.path() / "linked", error));
  EXPECT_NE(error.find("linked"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(root.path() / "elsewhere"));
  EXPECT_FALSE(linkPlayFolder(game, root.path() / "file", error));
  EXPECT_EQ(root.read("file"), "sentinel");
}

TEST(PlayFolder, AFileOfThePlayersWhereALinkIsMadeIsKept) {
  test::TempDir root;
  fs::path game = makeGame(root), play = root.path() / "home/kelvox/demo";
  fs::create_directories(play);
  fs::create_symlink(root.path() / "old/kelvox/demo/Script", play / "Script");
  root.write("home/kelvox/demo/Script.new-link", "sentinel");
  std::string error;
  EXPECT_FALSE(linkPlayFolder(game, play, error));
  EXPECT_EQ(root.read("home/kelvox/demo/Script.new-link"), "sentinel");
  EXPECT_EQ(fs::read_symlink(play / "Script"), root.path() / "old/kelvox/demo/Script");
}

}  // namespace
}  // namespace kelvox::platform
