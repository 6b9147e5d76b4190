// Saved games in a sandbox: every thumbnail the engine writes reads back (Save\ made for it), a
// saved game is judged by its header before it is read whole, links in Save\ are neither read
// nor replaced, and only the engine's own stale temporaries go at the next start.
#include <gtest/gtest.h>

#include "graphics/pattern.h"
#include "graphics/pattern_store.h"
#include "platform/atomic_file.h"
#include "shell/application.h"
#include "support/file_tree.h"
#include "support/test_game.h"

namespace kelvox::save {
namespace {

namespace fs = std::filesystem;

TEST(SaveSafety, EveryThumbnailTheEngineWritesReadsBack) {
  struct Case {
    int width, height, readWidth, readHeight;
  } cases[] = {{0, 0, 1, 1}, {-5, 3, 1, 3}, {16384, 1024, 16384, 1024}, {20000, 20000, 16384, 1024}};
  for (const Case& c : cases) {  // no Save folder yet: SaveThumbnail makes it
    test::TestGame g(".code\n 64 48 0 SetScreenMode " + std::to_string(c.width) + " " + std::to_string(c.height) +
                     " MakeThumbnail 3 SaveThumbnail 3 5 1 LoadThumbnail WaitFrame\n");
    ASSERT_EQ(g.slice(), "") << c.width << "x" << c.height;
    EXPECT_EQ(graphics::patternAt(g.m(), 5)->pattern->width, c.readWidth);
    EXPECT_EQ(graphics::patternAt(g.m(), 5)->pattern->height, c.readHeight);
  }
}

std::string word(uint32_t v) { return std::string({char(v), char(v >> 8), char(v >> 16), char(v >> 24)}); }

TEST(SaveSafety, ASavedGameIsJudgedByItsHeaderAndItsPc) {
  // A machine of 16 code words (word 2 a WaitFrame) and 8 bytes of data.
  const std::string head = word(8) + word(0) + word(0) + std::string(8, 'd');
  struct Case {
    std::string plain;
    const char* error;
  } cases[] = {
      {word(2) + head, ""},
      {word(16) + head, "セーブファイルに不正が見られます(24)"},  // pc at the code's end
      {word(0x7FFFFFFF) + head, "セーブファイルに不正が見られます(24)"},
      {word(2) + head + std::string(8 * 1024 + 1, '\0'), "セーブファイルに不正が見られます(24)"},  // over any save's size
  };
  for (const Case& c : cases) {
    std::string file = c.plain;
    for (char& b : file) b ^= 0x5C;
    test::TestGame g(".code\n 0 LoadState WaitFrame 1 1 1 1 1 1 1 1 1 1 1 1 1\n.data\n .string \"ABCDEFG\"\n",
                     {{"Save/Save00", file}});
    EXPECT_EQ(g.slice(), c.error) << c.plain.size();
    EXPECT_EQ(g.m().justRestored, *c.error ? 0 : 1);
  }
}

TEST(SaveSafety, LinksInSaveAreNeitherReadNorReplaced) {
  for (const char* code : {"0 LoadState", "0 SaveState", "7 stk LoadStacks", "5 5 MakeThumbnail 0 SaveThumbnail"}) {
    test::TempDir outside;
    outside.write("target", "the player's other file");
    test::TestGame g(std::string(".code\n 64 48 0 SetScreenMode ") + code + " WaitFrame\n.data\nstk: .string \"stk\"\n",
                     {{"Save/.keep", ""}});
    for (const char* link : {"Save/Save00", "Save/stk", "Save/SSHT00"}) test::makeLink(g.dir.path() / link, outside.path() / "target");
    auto before = test::snapshotFiles(g.dir.path());
    EXPECT_NE(g.slice(), "") << code;  // a file error in a box
    EXPECT_EQ(test::snapshotFiles(g.dir.path()), before) << code;
    EXPECT_EQ(outside.read("target"), "the player's other file") << code;
  }
}

TEST(SaveSafety, OnlyTheEnginesOwnStaleTemporariesGoAtTheNextStart) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  dir.write("Save/Save00.tmp-k1LLed", "4 MB of a save, killed");  // goes
  for (const char* kept : {"Save00", "Save00.tmp-12345", "Save00.tmp-ab_def", "Save00.tmpx-abcdef", "x.tmp-abcdefg",
                           "sub/Save00.tmp-abcdef"})
    dir.write(std::string("Save/") + kept, "not a stale temporary");
  test::makeLink(dir.path() / "Save/Save01.tmp-L1nked", dir.path() / "Save/Save00");
  test::makeFifo(dir.path() / "Save/Save02.tmp-F1f0ed");
  platform::AtomicFile live(dir.path() / "Save/Save03");  // a writer at work holds its temporary
  std::string error;
  ASSERT_TRUE(live.open(error)) << error;
  auto before = test::snapshotFiles(dir.path());
  platform::HeadlessPlatform p(dir.path());
  shell::runApplication(p.platform(), shell::RunOptions{});
  auto after = test::snapshotFiles(dir.path());
  after.erase("Save/Sys");  // written at teardown
  before.erase("Save/Save00.tmp-k1LLed");
  EXPECT_EQ(after, before);
  EXPECT_TRUE(live.commit(error)) << error;
}

}  // namespace
}  // namespace kelvox::save
