// Game files that are not what they should be: a Save\Sys that exists and cannot be read is
// kept and reported once; a Kelvox.ini or script file that is a folder or a FIFO gets the
// engine's own message without waiting on the pipe; a long Save\Sys loads in one pass.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text_encoding.h"
#include "graphics/decoded_image.h"
#include "platform/file_system.h"
#include "sound/sound_files.h"
#include "support/file_tree.h"
#include "vm/system_file.h"
#include "shell/application.h"
#include "support/test_game.h"
#include "vm/system_list.h"

namespace kelvox::vm {
namespace {

namespace fs = std::filesystem;

enum class Odd { Folder, Fifo, NoPermission };

// Puts a folder or a FIFO at [relative] below [dir].
void makeOdd(const test::TempDir& dir, const std::string& relative, Odd odd) {
  fs::path path = dir.path() / relative;
  fs::create_directories(path.parent_path());
  if (odd == Odd::Folder) {
    fs::create_directories(path / "inside");
  } else if (odd == Odd::Fifo) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  } else {
    dir.write(relative, "VMSF");
    fs::permissions(path, fs::perms::none);
  }
}

TEST(UnreadableSystemFile, IsNeverReplacedAndTheRunSaysSo) {
  for (Odd odd : {Odd::Folder, Odd::Fifo}) {
    test::TempDir dir;
    test::writeScript(dir.path(), ".code\n End\n");
    makeOdd(dir, "Save/Sys", odd);
    platform::HeadlessPlatform p(dir.path());
    shell::RunOptions headless;
    headless.failOnLostSystemFile = true;
    EXPECT_EQ(shell::runApplication(p.platform(), headless), 1);
    // Told once, at start, in the engine's words; nothing at teardown.
    ASSERT_EQ(p.dialogs().shown().size(), 1u);
    EXPECT_EQ(platform::sjisToUtf8(p.dialogs().shown()[0].text),
              "ファイル Save\\Sys を開けませんでした (通常のファイルではありません)\r\n今回の既読と記録は保存されません");
    // Still what it was.
    EXPECT_EQ(fs::is_directory(dir.path() / "Save/Sys"), odd == Odd::Folder);
    EXPECT_EQ(fs::is_fifo(dir.path() / "Save/Sys"), odd == Odd::Fifo);
  }
}

TEST(UnreadableSystemFile, AFileWithoutReadPermissionIsKeptAsItIs) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  makeOdd(dir, "Save/Sys", Odd::NoPermission);
  platform::HeadlessPlatform p(dir.path());
  shell::RunOptions headless;
  headless.failOnLostSystemFile = true;
  EXPECT_EQ(shell::runApplication(p.platform(), headless), 1);
  ASSERT_EQ(p.dialogs().shown().size(), 1u);
  EXPECT_EQ(fs::status(dir.path() / "Save/Sys").permissions(), fs::perms::none);  // not replaced
  fs::permissions(dir.path() / "Save/Sys", fs::perms::owner_read);
  EXPECT_EQ(dir.read("Save/Sys"), "VMSF");
}

TEST(OddGameFiles, AFolderOrFifoIsRefusedInTheEnginesWords) {
  struct Case {
    const char* file;
    const char* name;
  };
  const Case cases[] = {{"Kelvox.ini", "Kelvox.ini"}, {"Script/Code.ssb", "Script\\Code.ssb"},
                        {"Script/Data.ssb", "Script\\Data.ssb"}};
  for (const auto& c : cases) {
    for (Odd odd : {Odd::Folder, Odd::Fifo}) {
      test::TempDir dir;
      test::writeScript(dir.path(), ".code\n End\n");
      fs::remove(dir.path() / c.file);
      makeOdd(dir, c.file, odd);
      platform::HeadlessPlatform p(dir.path());
      shell::EngineHost host(p.platform());
      // A FIFO without a writer would block a plain open for ever; this returns at once.
      EXPECT_EQ(test::errorOf([&] { shell::createHost(host); }),
                std::string("ファイル ") + c.name + " を開けませんでした (通常のファイルではありません)")
          << c.file;
      shell::destroyHost(host);
    }
  }
}

TEST(SystemListLoading, SortsOnceKeepingTheFirstOfEntriesEqualButForCase) {
  struct Case {
    std::vector<std::string> before;  // entries already in the list
    std::string lines;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {{}, "b\r\na\r\nc\r\n", {"a", "b", "c"}},
      {{}, "X\r\nx\r\nY\r\n", {"X", "Y"}},          // the earlier line wins
      {{"\\Pic"}, "\\PIC\r\n\\a\r\n", {"\\a", "\\Pic"}},  // the list's own entry wins
      {{"m"}, "\n\r\nz\ra\n", {"a", "m", "z"}},          // any line end; empty lines carry nothing
  };
  for (const auto& c : cases) {
    SystemList list;
    for (const auto& e : c.before) list.add(e);
    list.addLines(c.lines);
    EXPECT_EQ(list.entries(), c.after) << c.lines;
  }
}

TEST(SystemListLoading, AddLinesAgreesWithAddingOneByOne) {
  // Reversed, with every tenth name repeated in upper case: the same list either way.
  std::string text;
  SystemList oneByOne;
  for (int i = 2000; i > 0; --i) {
    std::string name = ":flag" + std::to_string(i);
    text += name + "\r\n";
    oneByOne.add(name);
    if (i % 10 == 0) {
      std::string upper = ":FLAG" + std::to_string(i);
      text += upper + "\r\n";
      oneByOne.add(upper);
    }
  }
  SystemList loaded;
  loaded.addLines(text);
  EXPECT_EQ(loaded.entries(), oneByOne.entries());
  EXPECT_EQ(loaded.size(), 2000u);
}

TEST(UnreadableSystemFile, NoWriteDuringTheRunReplacesIt) {
  struct Case {
    const char* what;
    void (*plant)(const test::TempDir& dir);
  } cases[] = {
      {"a FIFO", [](const test::TempDir& d) { test::makeFifo(d.path() / "Save/Sys"); }},
      {"a link", [](const test::TempDir& d) { test::makeLink(d.path() / "Save/Sys", d.path() / "elsewhere"); }},
      {"over the cap", [](const test::TempDir& d) {
         d.write("Save/Sys", "");
         fs::resize_file(d.path() / "Save/Sys", kMaxSystemFileBytes + 1);  // sparse
       }},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    test::writeScript(dir.path(), ".code\n flag SetSystemFlag pic 0 1 LoadPattern End\n"
                                  ".data\nflag: .string \"seen\"\npic: .string \"e1.png\"\n");
    dir.write("elsewhere", "VMSF\x01:old flag\r\n");
    dir.write("Save/.keep", "");
    dir.write("Grd/e1.png", "not a picture, but recorded before it is decoded");
    c.plant(dir);
    auto before = test::snapshotFiles(dir.path());
    platform::HeadlessPlatform p(dir.path());
    shell::RunOptions headless;
    headless.failOnLostSystemFile = true;
    EXPECT_EQ(shell::runApplication(p.platform(), headless), 1) << c.what;
    EXPECT_EQ(test::snapshotFiles(dir.path()), before) << c.what;
  }
}

TEST(OversizedGameFiles, AreRefusedFromTheirSizeAlone) {
  // Sparse files one byte over each kind's cap: a picture is damaged (17), a sound plays nothing.
  struct Case {
    const char *file, *code;
    uint64_t size;
    std::string error;
    std::vector<int32_t> stack;
  } cases[] = {
      {"Grd/big.png", "bigpng 0 1 LoadPattern", graphics::kMaxPictureFileBytes + 1, "big.pngのフォーマットに不正が見られます(17)", {}},
      {"Wav/big.wav", "0 big WavPlay 0 WavIsPlaying", sound::kMaxWavFileBytes + 1, "", {0}},
      {"Midi/big.mid", "bigmid MidiPlay MidiIsPlaying", sound::kMaxMidiFileBytes + 1, "", {0}},
  };
  for (const Case& c : cases) {
    test::TestGame g(std::string(".code\n 64 48 0 SetScreenMode ") + c.code +
                     " WaitFrame\n.data\nbig: .string \"big\"\nbigmid: .string \"big.mid\"\nbigpng: .string \"big.png\"\n");
    g.dir.write(c.file, "");
    fs::resize_file(g.dir.path() / c.file, c.size);
    EXPECT_EQ(g.slice(), c.error) << c.file;
    EXPECT_EQ(g.stack(), c.stack) << c.file;
  }
}

TEST(SystemFileLines, NamesWithALineBreakAreNeverStored) {
  // A flag is refused in a box; a picture loads (here: is found damaged) but is not recorded.
  // Either way no entry is made that Save\Sys would read back as other lines.
  for (auto [code, error] : {std::pair{"bad SetSystemFlag", "フラグ名 a\r\n:b は改行を含むため記録できません"},
                             {"pic 0 1 LoadPattern", "e\r\nx.pngのフォーマットに不正が見られます(17)"}}) {
    test::TestGame g(std::string(".code\n ") + code + " WaitFrame\n.data\nbad: .string \"a\\r\\n:b\"\n" +
                         "pic: .string \"e\\r\\nx.png\"\n",
                     {{"Grd/e\r\nx.png", "not a picture"}});
    EXPECT_EQ(g.slice(), error);
    EXPECT_EQ(g.m().systemList.size(), 0u) << code;
    EXPECT_FALSE(fs::exists(g.dir.path() / "Save/Sys")) << code;
  }
}

}  // namespace
}  // namespace kelvox::vm
