// Whole installations of the sample distribution through the program's wizard mode: files,
// Desktop Entries and registry values checked one by one, and the failures that are reported
// while the installation goes on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "desktop_check.h"
#include "installer/app.h"
#include "installer/install_record.h"
#include "sample_distribution.h"
#include "support.h"

namespace kelvox::installer {
namespace {

using platform::installer::RootKey;
using test::exists;
using test::readFile;

// desktop-file-validate's verdict, where it is installed.
void expectValidEntry(const std::string& file) {
  std::optional<std::pair<int, std::string>> v = test::validateDesktopFile(file);
  if (!v) return;
  EXPECT_EQ(v->first, 0) << file << ": " << v->second;
  EXPECT_EQ(v->second, "") << file;
}

class InstallTest : public test::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    s = std::make_unique<test::TestServices>();
    s->files.freeSpace = uint64_t(1) << 40;  // the temporary folder's own space does not matter
    d = test::makeSampleDistribution(root + "dist/", home);
  }
  void remake(const std::string& config) { d = test::makeSampleDistribution(root + "dist/", home, config); }
  int install() {
    CommandLine cl;
    return runProgram(cl, d.installer, s->get(), ui);
  }
  const platform::installer::HostFolders& folders() { return s->get().folders; }
  std::string uninstallKey() { return std::string(kUninstallKeys) + "\\Sample"; }

  std::unique_ptr<test::TestServices> s;
  test::SampleDistribution d;
  test::ScriptedUi ui;
};

TEST_F(InstallTest, SampleIsInstalledFileByFile) {
  ui.desktop = true;
  ASSERT_EQ(install(), kExitDone);
  EXPECT_TRUE(ui.boxes.empty());
  const std::string& inst = d.installation;
  const std::pair<std::string, std::string> files[] = {
      {inst + "installer", d.folder + "installer"},
      {inst + "installer.inf", d.folder + "installer.inf"},
      {inst + "kelvox", d.folder + "KELVOX"},
      {inst + "Data/a.dat", d.folder + "Data/a.dat"},
      {inst + "Data/Sub/b.dat", d.folder + "Data/b.dat"},
      {folders().windowsFolder + "w.bin", d.folder + "w.bin"},
      {folders().systemFolder + "s.dll", d.folder + "s.dll"},
      {inst + "readme.txt", d.folder + "readme.txt"},
  };
  for (const auto& [installed, source] : files) {
    ASSERT_TRUE(exists(installed)) << installed;
    EXPECT_EQ(readFile(installed), readFile(source)) << installed;
  }
  struct stat st {};
  stat((inst + "kelvox").c_str(), &st);
  EXPECT_NE(st.st_mode & S_IXUSR, 0u);
  // Steps 0 … N + 3 with N = 6.
  EXPECT_EQ(ui.progressSeen.size(), 10u);
}

TEST_F(InstallTest, GroupEntriesBecomeAValidatedSubmenu) {
  ASSERT_EQ(install(), kExitDone);
  const std::string& inst = d.installation;
  std::string group = folders().programs + "サンプル/";
  struct Entry {
    std::string file;
    std::vector<std::string> exec;
  } entries[] = {
      {group + "サンプル.desktop", {inst + "kelvox"}},
      {group + "説明書.desktop", {"xdg-open", inst + "readme.txt"}},  // a document is opened
      {group + "サンプルの削除.desktop", {inst + "installer", "/r"}},
  };
  for (const auto& e : entries) {
    ASSERT_TRUE(exists(e.file)) << e.file;
    std::string text = readFile(e.file);
    EXPECT_EQ(test::execOf(text), e.exec) << e.file;
    EXPECT_EQ(test::unescapeDesktopString(test::desktopKey(text, "Path")), inst);
    expectValidEntry(e.file);
  }
  std::string menu = readFile(folders().menuFiles + "kelvox-サンプル.menu");
  EXPECT_NE(menu.find("<Filename>サンプル-説明書.desktop</Filename>"), std::string::npos);
  EXPECT_TRUE(exists(folders().directoryFiles + "kelvox-サンプル.directory"));
  EXPECT_FALSE(exists(folders().desktop + "サンプル.desktop"));  // not chosen
  EXPECT_FALSE(exists(folders().programs + "サンプル.desktop"));  // the group replaces it
}

TEST_F(InstallTest, UninstallEntryAndStartAreRecorded) {
  ASSERT_EQ(install(), kExitDone);
  auto& r = *s->registry;
  EXPECT_EQ(r.queryValue(RootKey::LocalMachine, uninstallKey(), "DisplayName"), "サンプル");
  // Quoted for a shell, which keeps every character of a Linux path.
  EXPECT_EQ(r.queryValue(RootKey::LocalMachine, uninstallKey(), "UninstallString"),
            "'" + d.installation + "installer' /r");
  // The record: every folder level the installation made, parents first, and every file it
  // copied except the one in the system folder. The temporary HOME starts empty.
  const std::string& i = d.installation;
  std::string data = home + ".local/share/";
  std::optional<InstallRecord> record = readInstallRecord(r, uninstallKey());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->folder, i);
  EXPECT_EQ(record->folders,
            (std::vector<std::string>{home + "Games/", home + "Games/Kelvox/", i, i + "Data/", i + "Data/Sub/",
                                      home + ".local/", data, data + "kelvox/", data + "kelvox/windows/",
                                      data + "kelvox/system/"}));
  EXPECT_EQ(record->files, (std::vector<std::string>{i + "installer", i + "installer.inf", i + "kelvox",
                                                     i + "Data/a.dat", i + "Data/Sub/b.dat",
                                                     data + "kelvox/windows/w.bin", i + "readme.txt"}));
  ASSERT_EQ(s->processes.started.size(), 1u);
  EXPECT_EQ(s->processes.started[0].program, d.installation + "kelvox");
  EXPECT_EQ(s->processes.started[0].folder, d.installation);
  EXPECT_EQ(s->processes.opened, (std::vector<std::string>{d.installation + "readme.txt"}));
  EXPECT_EQ(installedList(r), "サンプル\t'" + d.installation + "installer' /r\n");
}

TEST_F(InstallTest, NoGroupEntriesGiveOneMenuItemAndTheDesktopShortcut) {
  remake(test::sampleConfig(false));
  ui.desktop = true;
  ASSERT_EQ(install(), kExitDone);
  for (const std::string& file : {folders().programs + "サンプル.desktop", folders().desktop + "サンプル.desktop"}) {
    ASSERT_TRUE(exists(file)) << file;
    EXPECT_EQ(test::execOf(readFile(file)), (std::vector<std::string>{d.installation + "kelvox"}));
    expectValidEntry(file);
  }
  EXPECT_FALSE(exists(folders().programs + "サンプル"));
}

TEST_F(InstallTest, LocalizedDesktopFolderComesFromUserDirs) {
  test::writeFile(home + ".config/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
  s = std::make_unique<test::TestServices>();
  s->files.freeSpace = uint64_t(1) << 40;
  ui.desktop = true;
  ui.startMenu = false;
  ASSERT_EQ(install(), kExitDone);
  EXPECT_TRUE(exists(home + "デスクトップ/サンプル.desktop"));
  EXPECT_FALSE(exists(folders().programs + "サンプル"));
}

TEST_F(InstallTest, ResidentProgramGetsExactlyOneStartupShortcut) {
  remake(test::sampleConfig(true, true));
  ui.cancelOnOptions = true;  // the options page must never be shown
  ASSERT_EQ(install(), kExitDone);
  EXPECT_EQ(test::execOf(readFile(folders().startup + "サンプル.desktop")),
            (std::vector<std::string>{d.installation + "kelvox"}));
  EXPECT_FALSE(exists(folders().programs + "サンプル"));
  EXPECT_FALSE(exists(folders().desktop + "サンプル.desktop"));
}

TEST_F(InstallTest, FileInUseIsReportedAndTheInstallationGoesOn) {
  s->files.inUse.insert(d.installation + "kelvox");
  EXPECT_EQ(install(), kExitWithErrors);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, d.installation + "kelvox" + " は他で使用中のため上書きできません。");
  EXPECT_EQ(ui.boxes[0].icon, Icon::Error);
  EXPECT_TRUE(exists(d.installation + "readme.txt"));  // later steps ran
  EXPECT_TRUE(s->registry->keyExists(RootKey::LocalMachine, uninstallKey()));
}

TEST_F(InstallTest, MissingSourceIsReportedByItsName) {
  remake(test::sampleConfig(true, false, "7=Data\\missing.dat\r\n"));
  EXPECT_EQ(install(), kExitWithErrors);
  EXPECT_EQ(ui.count(std::string("Data/missing.dat") + " のコピーに失敗しました。"), 1);
  EXPECT_TRUE(exists(d.installation + "readme.txt"));
}

TEST_F(InstallTest, SubfolderThatCannotBeMadeSkipsOnlyItsEntry) {
  s->files.makeFails.insert(d.installation + "Data/Sub");
  EXPECT_EQ(install(), kExitWithErrors);
  EXPECT_EQ(ui.count(d.installation + "Data/Sub" + " のフォルダ作成に失敗しました。"), 1);
  EXPECT_FALSE(exists(d.installation + "Data/Sub/b.dat"));
  EXPECT_TRUE(exists(d.installation + "Data/a.dat"));
}

TEST_F(InstallTest, DestinationsLeavingTheirFolderAreRefused) {
  remake(test::sampleConfig(true, false, "7=w.bin,..\\..\\escaped.txt\r\n8=w.bin,W!..\\escaped2.txt\r\n"));
  EXPECT_EQ(install(), kExitWithErrors);
  EXPECT_EQ(ui.count(" はインストール先のフォルダの外を指しているので、処理しません。"), 2);
  EXPECT_FALSE(exists(home + "Games/escaped.txt"));
  EXPECT_FALSE(exists(folders().windowsFolder + "../escaped2.txt"));
}

TEST_F(InstallTest, CancelOnTheOptionsPageCopiesNothing) {
  ui.cancelOnOptions = true;
  EXPECT_EQ(install(), kExitCancelled);
  EXPECT_FALSE(exists(d.installation));
  EXPECT_TRUE(s->processes.started.empty());
}

TEST_F(InstallTest, MissingConfigurationEndsEveryModeWithTheBrokenMessage) {
  std::remove((d.folder + "installer.inf").c_str());
  CommandLine modes[3];
  modes[1].mode = Mode::UninstallRequest;
  modes[2].mode = Mode::UninstallerCopy;
  modes[2].copyOf = d.installer;
  for (const auto& cl : modes) {
    ui.boxes.clear();
    EXPECT_EQ(runProgram(cl, d.installer, s->get(), ui), kExitBroken);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "設定ファイルが壊れているか、または見つかりません。");
    EXPECT_EQ(ui.boxes[0].caption, "");
  }
}

}  // namespace
}  // namespace kelvox::installer
