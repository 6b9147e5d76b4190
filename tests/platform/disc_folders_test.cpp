// Discs kept in the game folder: every folder in its Discs/ is a disc named after the folder,
// listed after KELVOX_VOLUMES and before the mounted discs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/volumes.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> labels(const std::vector<std::pair<std::string, fs::path>>& discs) {
  std::vector<std::string> out;
  for (const auto& [label, path] : discs) out.push_back(label);
  return out;
}

TEST(DiscFolders, OnlyFoldersAndLinksToFoldersAreDiscsSortedByName) {
  test::TempDir dir, elsewhere;
  fs::create_directories(dir.path() / "Discs" / "ZETA");
  fs::create_directories(dir.path() / "Discs" / "alpha");
  fs::create_directories(dir.path() / "Discs" / ".hidden");
  dir.write("Discs/track02.flac", "not a disc");
  fs::create_directory_symlink(elsewhere.path(), dir.path() / "Discs" / "LINKED");
  fs::create_directory_symlink(dir.path() / "gone", dir.path() / "Discs" / "DANGLING");
  ASSERT_EQ(mkfifo((dir.path() / "Discs" / "FIFO").c_str(), 0600), 0);

  auto discs = discFolders(dir.path());
  EXPECT_EQ(labels(discs), (std::vector<std::string>{"LINKED", "ZETA", "alpha"}));
  EXPECT_EQ(discs[1].second, dir.path() / "Discs" / "ZETA");
}

TEST(DiscFolders, TheFolderIsFoundInAnyCaseAndNothingElseCounts) {
  struct Case {
    const char* layout;  // "dir:NAME" makes NAME/DISC a folder, "file:NAME" makes NAME a file
    size_t discs;
  };
  for (const Case& c : {Case{"dir:DISCS", 1}, Case{"dir:discs", 1}, Case{"dir:Disc", 0}, Case{"file:Discs", 0},
                        Case{"", 0}}) {
    test::TempDir dir;
    std::string layout = c.layout;
    if (layout.rfind("dir:", 0) == 0) fs::create_directories(dir.path() / layout.substr(4) / "DISC");
    if (layout.rfind("file:", 0) == 0) dir.write(layout.substr(5), "x");
    EXPECT_EQ(discFolders(dir.path()).size(), c.discs) << layout;
  }
  EXPECT_TRUE(discFolders({}).empty());
}

TEST(DiscFolders, ComeAfterTheEnvironmentsVolumesAndBeforeMountedDiscs) {
  test::TempDir game, copied;
  fs::create_directories(game.path() / "Discs" / "KEPT");
  setenv("KELVOX_VOLUMES", ("NAMED=" + copied.path().string()).c_str(), 1);
  auto volumes = SystemVolumes(game.path()).list();
  unsetenv("KELVOX_VOLUMES");
  ASSERT_GE(volumes.size(), 2u);
  EXPECT_EQ(volumes[0].label, "NAMED");
  EXPECT_EQ(volumes[1].label, "KEPT");
  EXPECT_EQ(volumes[1].letter, 'e');
  EXPECT_EQ(volumes[1].root, game.path() / "Discs" / "KEPT");
}

}  // namespace
}  // namespace kelvox::platform
