// Start-up and shut-down of the machine: the script image, Save\Sys and Kelvox.ini.
#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "common/file_helpers.h"
#include "support/test_game.h"
#include "vm/engine_config.h"
#include "vm/system_file.h"

namespace kelvox::vm {
namespace {

std::string scrambled(std::string plain) {
  for (auto& c : plain) c = static_cast<char>(c ^ 0x5C);
  return plain;
}

TEST(ScriptImage, DataSizeIsExactAndMemoryRoundsUpToWords) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  dir.write("Script/Data.ssb", scrambled("abcde"));
  platform::HeadlessPlatform p(dir.path());
  shell::EngineHost host(p.platform());
  shell::createHost(host);
  EXPECT_EQ(host.machine->dataSize, 5);
  EXPECT_EQ(host.machine->data.size(), 8u);
  EXPECT_EQ(std::string(host.machine->data.begin(), host.machine->data.begin() + 5), "abcde");
  shell::destroyHost(host);
}

TEST(ScriptImage, MissingOrEmptyScriptFilesNameTheFile) {
  struct Case {
    const char* remove;
    const char* empty;
    const char* text;
  };
  const Case cases[] = {
      {"Script/Code.ssb", nullptr, "ファイル Script\\Code.ssb を開けませんでした"},
      {"Script/Data.ssb", nullptr, "ファイル Script\\Data.ssb を開けませんでした"},
      {nullptr, "Script/Code.ssb", "ファイル Script\\Code.ssb が空です"},
      {nullptr, "Script/Data.ssb", "ファイル Script\\Data.ssb が空です"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    test::writeScript(dir.path(), ".code\n End\n");
    if (c.remove) std::filesystem::remove(dir.path() / c.remove);
    if (c.empty) dir.write(c.empty, "");
    platform::HeadlessPlatform p(dir.path());
    shell::EngineHost host(p.platform());
    std::string error = test::errorOf([&] { shell::createHost(host); });
    EXPECT_EQ(error.substr(0, std::string(c.text).size()), c.text) << error;
    shell::destroyHost(host);
  }
}

TEST(ScriptImage, CodeFileIsFoundWhateverTheCaseOfItsName) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n 5 WaitFrame\n");
  std::filesystem::rename(dir.path() / "Script", dir.path() / "SCRIPT");
  std::filesystem::rename(dir.path() / "SCRIPT/Code.ssb", dir.path() / "SCRIPT/code.SSB");
  platform::HeadlessPlatform p(dir.path());
  shell::EngineHost host(p.platform());
  EXPECT_EQ(test::errorOf([&] { shell::createHost(host); }), "");
}

TEST(SystemFile, WrittenAtTeardownAndReadAtTheNextStart) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  {
    platform::HeadlessPlatform p(dir.path());
    shell::EngineHost host(p.platform());
    shell::createHost(host);
    host.machine->screenMode = 0;
    for (const char* name : {"\\ev02", ":flag", "\\EV01"}) host.machine->systemList.add(name);
    shell::destroyHost(host);
  }
  // Sorted without regard to case, CR LF lines, after the magic and the mode byte.
  EXPECT_EQ(dir.read("Save/Sys"), scrambled(std::string("VMSF") + '\0' + ":flag\r\n\\EV01\r\n\\ev02\r\n"));
  platform::HeadlessPlatform p(dir.path());
  shell::EngineHost host(p.platform());
  shell::createHost(host);
  EXPECT_EQ(host.machine->screenMode, 0);
  EXPECT_EQ(host.machine->systemList.entries(), (std::vector<std::string>{":flag", "\\EV01", "\\ev02"}));
  EXPECT_TRUE(host.machine->systemList.contains("\\ev01"));
}

TEST(SystemFile, WithoutTheMagicTheFileIsABareList) {
  SystemList list;
  uint8_t mode = 0;
  std::string plain = "\\a\r\n\\b\r\n";
  std::vector<uint8_t> bytes(plain.begin(), plain.end());
  common::scrambleBuffer(bytes);
  decodeSystemFile(bytes, mode, list);
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(list.size(), 2u);
}

TEST(SystemFile, DamagedFilesNeverFail) {
  const std::vector<std::vector<uint8_t>> files = {
      {}, {'V' ^ 0x5C}, {'V' ^ 0x5C, 'M' ^ 0x5C, 'S' ^ 0x5C, 'F' ^ 0x5C}, {0, 0, 0, 0, 0, 0, 0xFF, 0x81, 0x0A},
  };
  for (const auto& bytes : files) {
    SystemList list;
    uint8_t mode = 7;
    decodeSystemFile(bytes, mode, list);
    EXPECT_LE(list.size(), 2u);
  }
}

TEST(SystemFile, AFailedStartNeverOverwritesAGoodSystemFile) {
  test::TempDir dir;
  dir.write("Save/Sys", scrambled(std::string("VMSF") + '\0' + "\\keep\r\n"));
  platform::HeadlessPlatform p(dir.path());  // no script at all
  shell::EngineHost host(p.platform());
  EXPECT_NE(test::errorOf([&] { shell::createHost(host); }), "");
  shell::destroyHost(host);
  EXPECT_EQ(dir.read("Save/Sys"), scrambled(std::string("VMSF") + '\0' + "\\keep\r\n"));
}

TEST(SystemFile, AFailedWriteIsReportedAndTeardownGoesOn) {
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  // A folder where Save\Sys should be: it cannot be read, so it is reported at start and never
  // replaced (a failed write of it must not be attempted either).
  std::filesystem::create_directories(dir.path() / "Save" / "Sys");
  platform::HeadlessPlatform p(dir.path());
  shell::EngineHost host(p.platform());
  shell::createHost(host);
  EXPECT_NO_THROW(shell::destroyHost(host));
  ASSERT_EQ(p.dialogs().shown().size(), 1u);
  EXPECT_EQ(platform::sjisToUtf8(p.dialogs().shown()[0].text).rfind("ファイル Save\\Sys を開けませんでした", 0), 0u);
  EXPECT_EQ(p.dialogs().shown()[0].caption, "Zarveth Ver1.10");
  EXPECT_FALSE(host.machine);  // the rest of the teardown ran
  EXPECT_TRUE(host.systemFileLost);
  // No temporary file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path() / "Save")) ++files;
  EXPECT_EQ(files, 1);

  // A write that fails (Save is a file, so no folder can be made): one box at teardown.
  test::TempDir blocked;
  test::writeScript(blocked.path(), ".code\n End\n");
  blocked.write("Save", "not a folder");
  platform::HeadlessPlatform q(blocked.path());
  shell::EngineHost second(q.platform());
  shell::createHost(second);
  EXPECT_NO_THROW(shell::destroyHost(second));
  ASSERT_EQ(q.dialogs().shown().size(), 1u);
  EXPECT_EQ(platform::sjisToUtf8(q.dialogs().shown()[0].text), "フォルダ Save を作成できませんでした");
  EXPECT_TRUE(second.systemFileLost);
  EXPECT_FALSE(second.machine);
}

TEST(EngineConfig, DefaultsWithoutKelvoxIni) {
  test::TestGame game(".code\n End\n");
  EXPECT_EQ(game.m().searchPath, "");
  EXPECT_EQ(platform::sjisToUtf8(game.m().fontName), "ＭＳ ゴシック");
  EXPECT_EQ(game.m().screenMode, 1);
}

TEST(EngineConfig, SearchPathNeedsTheDiscAndTheFolder) {
  test::TempDir disc;
  std::filesystem::create_directories(disc.path() / "Data");
  platform::FixedVolumes volumes({{'d', "OTHER", "/nonexistent"}, {'e', "zarveth_disc", disc.path()}});
  platform::Paths paths("/nonexistent", &volumes);
  struct Case {
    const char* label;
    const char* path;
    const char* expected;
  };
  const Case cases[] = {
      {"ZARVETH_DISC", "\\Data\\", "e:\\Data\\"},  // labels compare without regard to case
      {"zarveth_disc", "\\Data", "e:\\Data\\"},
      {"zarveth_disc", "Data", "e:Data\\"},         // the drive's root is its current folder
      {"zarveth_disc", "\\", "e:\\"},
      {"zarveth_disc", "\\Missing", ""},
      {"NO_SUCH_DISC", "\\Data", ""},
      {"", "\\Data", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.label) + " " + c.path);
    EXPECT_EQ(searchPathFor(paths, c.label, c.path), c.expected);
  }
}

TEST(EngineConfig, KelvoxIniNamesTheFontAndTheDisc) {
  test::TempDir disc;
  std::filesystem::create_directories(disc.path() / "GAME");
  std::string ini = "[SearchPath]\r\nLabel=ZV01\r\nPath=\\game\r\n[Font]\r\nName=" +
                    platform::toSjis("ＭＳ 明朝") + "\r\n";
  test::TempDir dir;
  test::writeScript(dir.path(), ".code\n End\n");
  dir.write("Kelvox.ini", ini);
  platform::HeadlessPlatform p(dir.path());
  p.fixedVolumes() = platform::FixedVolumes({{'d', "zv01", disc.path()}});
  shell::EngineHost host(p.platform());
  shell::createHost(host);
  EXPECT_EQ(host.machine->searchPath, "d:\\game\\");
  EXPECT_EQ(platform::sjisToUtf8(host.machine->fontName), "ＭＳ 明朝");
  EXPECT_EQ(p.paths().resolve(host.machine->searchPath), disc.path() / "GAME");
}

}  // namespace
}  // namespace kelvox::vm
