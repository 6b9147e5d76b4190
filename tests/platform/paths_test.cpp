// Backslash paths in Shift-JIS resolved against the host file system.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"
#include "platform/volumes.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

TEST(Paths, SplitsOnlyAtSingleByteBackslashes) {
  std::string hyou = "\x95\x5C";  // 表
  EXPECT_EQ(splitSjisPath("Grd\\" + hyou + "\\a.png"), (std::vector<std::string>{"Grd", hyou, "a.png"}));
  EXPECT_EQ(splitSjisPath("\\\\a\\\\b\\"), (std::vector<std::string>{"a", "b"}));
}

TEST(Paths, ComponentsMatchWithoutRegardToCase) {
  test::TempDir dir;
  dir.write("GRD/Bg01.PNG", "x");
  dir.write("表示/ソフト.txt", "y");
  Paths paths(dir.path());
  EXPECT_EQ(paths.resolve("grd\\bg01.png"), dir.path() / "GRD" / "Bg01.PNG");
  EXPECT_EQ(paths.resolve(toSjis("表示\\ソフト.TXT")), dir.path() / "表示" / "ソフト.txt");
  // In UTF-8, あ ends in 0x82, a Shift-JIS lead byte: the A after it is still a letter.
  dir.write("あa.txt", "z");
  EXPECT_EQ(paths.resolve(toSjis("あA.TXT")), dir.path() / "あa.txt");
  // A name that matches nothing keeps its UTF-8 form, for files about to be made.
  EXPECT_EQ(paths.resolve(toSjis("Save\\新規")), dir.path() / "Save" / "新規");
}

TEST(Paths, DriveLettersNameVolumes) {
  test::TempDir disc;
  disc.write("Data/Grd/a.png", "x");
  FixedVolumes volumes({{'q', "DISC", disc.path()}});
  Paths paths("/nonexistent", &volumes);
  EXPECT_EQ(paths.resolve("Q:\\data\\grd\\A.PNG"), disc.path() / "Data" / "Grd" / "a.png");
  EXPECT_EQ(paths.resolve("q:Data"), disc.path() / "Data");
  EXPECT_FALSE(fs::exists(paths.resolve("r:\\Data")));  // no such drive
}

TEST(Paths, ScriptNamesStayInsideTheirFolder) {
  for (const char* ok : {"bg01.png", "sub\\bg.png", "a..b"}) EXPECT_TRUE(isConfinedName(ok)) << ok;
  for (const char* bad : {"", "..\\x", "a\\..\\..\\x", "\\etc\\passwd", "/etc/passwd", "c:x", "a\\.\\b", "a/../b"})
    EXPECT_FALSE(isConfinedName(bad)) << bad;
}

}  // namespace
}  // namespace kelvox::platform
