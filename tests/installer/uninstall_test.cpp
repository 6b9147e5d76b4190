// Whole uninstallations of the installed sample through the uninstaller copy's mode: registry
// keys, files, the questions about files the game left, the folder and the shortcuts; the
// uninstall request; the running game; the WININIT.INI fallback.
#include <gtest/gtest.h>

#include "installer/app.h"
#include "installer/self_deletion.h"
#include "sample_distribution.h"
#include "support.h"

namespace kelvox::installer {
namespace {

using platform::installer::RootKey;
using test::exists;

class UninstallTest : public test::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    s = std::make_unique<test::TestServices>();
    s->files.freeSpace = uint64_t(1) << 40;
    install(test::sampleConfig());
  }
  void install(const std::string& config) {
    d = test::makeSampleDistribution(root + "dist/", home, config);
    ui.desktop = true;
    ASSERT_EQ(runProgram(CommandLine{}, d.installer, s->get(), ui), kExitDone);
    ASSERT_TRUE(s->registry->createKey(RootKey::CurrentUser, "Software\\Kelvox\\Sample\\Slots"));
    ASSERT_TRUE(s->registry->createKey(RootKey::CurrentUser, "Software\\Kelvox\\Other"));
    test::writeFile(d.installation + "Save/Save00", "save");  // left by the game
    test::writeFile(d.installation + "HELP.GID", "index");    // made by the help viewer
    ui.boxes.clear();
  }
  // The copy in the system folder, started with "x" and the installed uninstaller's path.
  int uninstall() {
    CommandLine cl;
    cl.mode = Mode::UninstallerCopy;
    cl.copyOf = d.installation + "installer";
    return runProgram(cl, s->get().folders.systemFolder + "installer", s->get(), ui);
  }
  const platform::installer::HostFolders& folders() { return s->get().folders; }
  std::string uninstallKey() { return std::string(kUninstallKeys) + "\\Sample"; }
  // Everything the installation made except the S! file and what the game left.
  std::vector<std::string> installedPaths() {
    return {d.installation + "installer",         d.installation + "installer.inf",
            d.installation + "kelvox",            d.installation + "Data/a.dat",
            d.installation + "Data/Sub/b.dat",    d.installation + "readme.txt",
            folders().windowsFolder + "w.bin",    folders().programs + "サンプル",
            folders().desktop + "サンプル.desktop", folders().menuFiles + "kelvox-サンプル.menu",
            folders().directoryFiles + "kelvox-サンプル.directory"};
  }

  std::unique_ptr<test::TestServices> s;
  test::SampleDistribution d;
  test::ScriptedUi ui;
};

TEST_F(UninstallTest, LeftoverAnsweredNoKeepsItAndItsFolders) {
  ui.rules = {{"Save00", Answer::No}};
  EXPECT_EQ(uninstall(), kExitWithErrors);
  for (const auto& path : installedPaths()) EXPECT_FALSE(exists(path)) << path;
  EXPECT_TRUE(exists(d.installation + "Save/Save00"));
  EXPECT_TRUE(exists(folders().systemFolder + "s.dll"));
  EXPECT_FALSE(exists(d.installation + "HELP.GID"));  // deleted without a question
  EXPECT_EQ(ui.count("HELP.GID"), 0);
  EXPECT_EQ(ui.uninstallResult, d.installation + " にはまだファイルが残っています。後で削除してください。");
  // The one question, then the Save folder's failure; the folders above stop without a word.
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, d.installation + "Save/Save00" + " - このファイルを削除してもいいですか？");
  EXPECT_EQ(ui.boxes[0].caption, "サンプル");
  EXPECT_EQ(ui.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(ui.boxes[1].text, d.installation + "Save" + " - ディレクトリの削除に失敗しました");
  // Steps 4 and 5 ran all the same.
  EXPECT_FALSE(s->registry->keyExists(RootKey::LocalMachine, uninstallKey()));
}

TEST_F(UninstallTest, LeftoverAnsweredYesLeavesOnlyTheSystemFolderFile) {
  EXPECT_EQ(uninstall(), kExitDone);
  for (const auto& path : installedPaths()) EXPECT_FALSE(exists(path)) << path;
  EXPECT_FALSE(exists(d.installation));
  EXPECT_TRUE(exists(folders().systemFolder + "s.dll"));
  EXPECT_EQ(ui.uninstallResult, std::string("サンプル") + "は正常に削除されました。");
  EXPECT_EQ(ui.boxes.size(), 1u);  // the question about Save00 only
  EXPECT_FALSE(s->registry->keyExists(RootKey::LocalMachine, uninstallKey()));
  EXPECT_FALSE(s->registry->keyExists(RootKey::CurrentUser, "Software\\Kelvox\\Sample"));
  EXPECT_TRUE(s->registry->keyExists(RootKey::CurrentUser, "Software\\Kelvox\\Other"));
  EXPECT_EQ(s->deletion.scheduled, (std::vector<std::string>{folders().systemFolder + "installer"}));
}

TEST_F(UninstallTest, RunningGameStopsTheRemovalAtTheMainProgram) {
  s->gameRunning = true;
  EXPECT_EQ(uninstall(), kExitWithErrors);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, d.installation + "kelvox" + "の削除に失敗しました。このファイルをスキップして処理を続行します。");
  EXPECT_EQ(ui.boxes[1].text,
            d.installation + "kelvox" + " の削除に失敗しました。" + "サンプル" + "を終了して、もう一度アンインストールをやり直してください。");
  EXPECT_TRUE(exists(d.installation + "kelvox"));
  EXPECT_FALSE(exists(d.installation + "readme.txt"));  // entries after 1 went first
  EXPECT_TRUE(exists(d.installation + "installer"));    // entries 0 and −1 come after 1
  EXPECT_TRUE(exists(folders().desktop + "サンプル.desktop"));
  EXPECT_TRUE(s->registry->keyExists(RootKey::LocalMachine, uninstallKey()));
  EXPECT_EQ(ui.uninstallResult, d.installation + " にはまだファイルが残っています。後で削除してください。");
}

TEST_F(UninstallTest, CancelEndsTheFolderCleanUpOnly) {
  test::writeFile(d.installation + "Save/Save01", "save");
  ui.rules = {{"Save00", Answer::Cancel}};
  EXPECT_EQ(uninstall(), kExitWithErrors);
  EXPECT_EQ(ui.boxes.size(), 1u);  // no question about Save01
  EXPECT_TRUE(exists(d.installation + "Save/Save01"));
  EXPECT_FALSE(exists(folders().desktop + "サンプル.desktop"));
  EXPECT_FALSE(s->registry->keyExists(RootKey::LocalMachine, uninstallKey()));
}

TEST_F(UninstallTest, FailedFileDeletionIsSkippedAndTheRestGoesOn) {
  s->files.removeFails.insert(d.installation + "Data/a.dat");
  EXPECT_EQ(uninstall(), kExitWithErrors);
  // Once among the configured files, once more when the folder clean-up meets it again.
  EXPECT_EQ(ui.count(d.installation + "Data/a.dat" + "の削除に失敗しました。このファイルをスキップして処理を続行します。"), 2);
  EXPECT_FALSE(exists(d.installation + "kelvox"));
  EXPECT_FALSE(exists(d.installation + "installer"));
}

TEST_F(UninstallTest, LinksInTheFolderAreRemovedNotFollowed) {
  test::writeFile(root + "outside/keep.txt", "keep");
  ASSERT_EQ(symlink((root + "outside").c_str(), (d.installation + "link").c_str()), 0);
  EXPECT_EQ(uninstall(), kExitDone);
  EXPECT_TRUE(exists(root + "outside/keep.txt"));
  EXPECT_FALSE(exists(d.installation + "link"));
  EXPECT_EQ(ui.count(d.installation + "link" + " - このファイルを削除してもいいですか？"), 1);
}

TEST_F(UninstallTest, UnknownRegRootIsReportedAndSkipped) {
  install(test::sampleConfig() + "2=HKEY_USERS\\Software\\Kelvox\r\n3=HKEY_CURRENT_USER\\Software\\Kelvox\\Other\r\n");
  EXPECT_EQ(uninstall(), kExitDone);
  EXPECT_EQ(ui.count("Regセクションがおかしいです。"), 1);
  EXPECT_FALSE(s->registry->keyExists(RootKey::CurrentUser, "Software\\Kelvox\\Other"));
  EXPECT_TRUE(s->registry->keyExists(RootKey::CurrentUser, "Software\\Kelvox"));
}

TEST_F(UninstallTest, HomeFolderIsNeverCleanedUp) {
  test::writeFile(home + "installer.inf", test::sjis(test::sampleConfig()));
  test::writeFile(home + "notes.txt", "mine");
  CommandLine cl;
  cl.mode = Mode::UninstallerCopy;
  cl.copyOf = home + "installer";
  // Not the registered installation: refused before anything is touched.
  EXPECT_EQ(runProgram(cl, folders().systemFolder + "installer", s->get(), ui), kExitCancelled);
  EXPECT_TRUE(exists(home + "notes.txt"));
  EXPECT_EQ(ui.count(" - このファイルを削除してもいいですか？"), 0);
}

TEST_F(UninstallTest, CopyStartedByHandOutsideTheSystemFolderKeepsItsFile) {
  CommandLine cl;
  cl.mode = Mode::UninstallerCopy;
  cl.copyOf = d.installation + "installer";
  runProgram(cl, d.folder + "installer", s->get(), ui);
  EXPECT_TRUE(s->deletion.scheduled.empty());
}

TEST_F(UninstallTest, RequestAsksThenStartsTheCopyFromTheSystemFolder) {
  CommandLine cl;
  cl.mode = Mode::UninstallRequest;
  cl.options.text = cl.options.yes = true;
  s->processes.runResult = 0;
  std::string self = d.installation + "installer";
  EXPECT_EQ(runProgram(cl, self, s->get(), ui), kExitDone);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "サンプル" + std::string("を削除します。"));
  EXPECT_EQ(ui.boxes[0].caption, "サンプル");
  EXPECT_EQ(ui.boxes[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(ui.boxes[0].icon, Icon::Information);
  std::string copy = folders().systemFolder + "installer";
  EXPECT_EQ(test::readFile(copy), test::readFile(self));
  ASSERT_EQ(s->processes.started.size(), 2u);  // the game at installation, then the copy
  EXPECT_EQ(s->processes.started[1].program, copy);
  EXPECT_EQ(s->processes.started[1].args, (std::vector<std::string>{"x", self, "--text", "--yes"}));
  EXPECT_EQ(s->processes.started[1].folder, folders().systemFolder);
}

TEST_F(UninstallTest, RequestCancelledOrUnstartableCopy) {
  CommandLine cl;
  cl.mode = Mode::UninstallRequest;
  std::string self = d.installation + "installer";
  ui.rules = {{"を削除します。", Answer::Cancel}};
  EXPECT_EQ(runProgram(cl, self, s->get(), ui), kExitCancelled);
  EXPECT_FALSE(exists(folders().systemFolder + "installer"));

  ui.rules.clear();
  ui.boxes.clear();
  s->processes.runResult = std::nullopt;
  EXPECT_EQ(runProgram(cl, self, s->get(), ui), kExitWithErrors);
  EXPECT_EQ(ui.count("アンインストール用プログラムの起動に失敗しました。手動で削除してください。"), 1);
}

TEST_F(UninstallTest, ResidentProgramsRequestWarnsToQuitItFirst) {
  install(test::sampleConfig(true, true));
  CommandLine cl;
  cl.mode = Mode::UninstallRequest;
  ui.rules = {{"を削除します。", Answer::Cancel}};
  runProgram(cl, d.installation + "installer", s->get(), ui);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "サンプル" + std::string("を削除します。") + "まだ常駐している場合は、今すぐ終了させてからOKボタンを押してください。");
}

TEST_F(UninstallTest, WithoutDelayedDeletionWininitGetsTheRenameLine) {
  s->deletion.available = false;
  test::writeFile(folders().windowsFolder + "WININIT.INI", "[Other]\r\na=1\r\n[Rename]\r\nNUL=C:\\OLD.EXE\r\n\x1A");
  EXPECT_EQ(uninstall(), kExitDone);
  EXPECT_EQ(test::readFile(folders().windowsFolder + "WININIT.INI"),
            "[Other]\r\na=1\r\n[Rename]\r\nNUL=C:\\OLD.EXE\r\nNUL=" + folders().systemFolder + "installer\r\n");
}

class WininitRename : public test::TempHomeTest {};

TEST_F(WininitRename, SectionIsRebuiltAtTheEndOrAbandonedWhenTooLong) {
  std::string dir = root;
  platform::installer::FileOps files;
  struct Case {
    const char* name;
    std::string before;
    bool written;
    std::string after;
  } cases[] = {
      {"no file", "", true, "[Rename]\r\nNUL=/s/x\r\n"},
      {"section in the middle", "[Rename]\r\nA.NEW=A.OLD\r\n[Z]\r\nk=v\r\n", true,
       "[Z]\r\nk=v\r\n[Rename]\r\nA.NEW=A.OLD\r\nNUL=/s/x\r\n"},
      {"end-of-file mark", "[Z]\r\nk=v\r\n\x1A", true, "[Z]\r\nk=v\r\n[Rename]\r\nNUL=/s/x\r\n"},
      {"too long", "[Rename]\r\n" + std::string(30000, 'k') + "=v\r\n", false, ""},
  };
  for (const auto& c : cases) {
    std::string file = dir + "kelvox-wininit-test.ini";
    std::remove(file.c_str());
    if (!c.before.empty()) test::writeFile(file, c.before);
    EXPECT_EQ(addWininitDeletion(files, file, "/s/x"), c.written) << c.name;
    EXPECT_EQ(test::readFile(file), c.written ? c.after : c.before) << c.name;
    std::remove(file.c_str());
  }
}

}  // namespace
}  // namespace kelvox::installer
