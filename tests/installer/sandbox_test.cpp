// Install-and-uninstall scenarios in the sandbox: whatever the setup file, the folder chosen,
// the place the uninstaller is started from or the links on the way, everything outside the
// installed files is exactly as it was before.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "installer/install_record.h"
#include "sample_distribution.h"
#include "sandbox.h"

namespace kelvox::installer {
namespace {

using platform::installer::RootKey;
using test::exists;

class Sandbox : public test::SandboxTest {
 protected:
  std::string installation() const { return home + "Games/Kelvox/Sample/"; }
  std::string uninstallKey() const { return std::string(kUninstallKeys) + "\\Sample"; }
  bool registered() const { return s->registry->keyExists(RootKey::LocalMachine, uninstallKey()); }
};

const std::vector<std::string> kNothing;

TEST_F(Sandbox, InstallThenUninstallLeavesEverythingElseAsItWas) {
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  ASSERT_EQ(install(distribution + "installer"), kExitDone);
  EXPECT_TRUE(exists(installation() + "Data/Sub/b.dat"));
  test::writeFile(installation() + "Save/Save00", "left by the game");
  EXPECT_EQ(uninstall(installation() + "installer"), kExitDone);
  EXPECT_EQ(changesSince(before), kNothing);
  EXPECT_FALSE(exists(home + "Games/Kelvox"));  // made by the installation, so it went
}

TEST_F(Sandbox, FolderLeavingOrNamingTheGamesFolderIsABrokenConfiguration) {
  plantSentinels();
  for (const char* folder : {"\\..", "..", "..\\..", "Kelvox\\..\\..\\x", ".", "Kelvox\\.\\Sample", "\\Games",
                             "\\Games\\", "\\.."}) {
    ui.boxes.clear();
    makeDistribution(root + "dist/", "[Install]\r\nTitle=サンプル\r\nFolder=" + std::string(folder) + "\r\n1=kelvox\r\n");
    test::TreeSnapshot before = snapshot();
    EXPECT_EQ(install(distribution + "installer"), kExitBroken) << folder;
    ASSERT_EQ(ui.boxes.size(), 1u) << folder;
    EXPECT_EQ(ui.boxes[0].text, "設定ファイルが壊れているか、または見つかりません。");
    EXPECT_EQ(uninstall(distribution + "installer"), kExitBroken) << folder;
    EXPECT_EQ(changesSince(before), kNothing) << folder;
  }
}

TEST_F(Sandbox, UninstallerInTheDistributionFolderRefusesAndCleansNothing) {
  // The distribution unpacked in ~/Downloads, installed from there, then "/r" started there.
  plantSentinels();
  makeDistribution(home + "Downloads/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  ASSERT_EQ(install(distribution + "installer"), kExitDone);
  test::TreeSnapshot installed = snapshot();
  ui.boxes.clear();
  EXPECT_EQ(uninstall(distribution + "installer"), kExitCancelled);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, home + "Downloads/ は登録されているインストール先ではありません。削除には次のコマンドを使ってください: '" +
                                  installation() + "installer' /r");
  EXPECT_EQ(changesSince(installed), kNothing);
  EXPECT_TRUE(registered());
  // The real installation still uninstalls completely.
  EXPECT_EQ(uninstall(installation() + "installer"), kExitDone);
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, UninstallerOfAGameNeverInstalledRefuses) {
  plantSentinels();
  makeDistribution(home + "Downloads/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  EXPECT_EQ(uninstall(distribution + "installer"), kExitCancelled);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "サンプルはインストールされていません。");
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, HomeReachedThroughALinkIsNeverCleaned) {
  // HOME is a link; the running program's path is the real one.
  std::string real = root + "real-home/";
  test::writeFile(real + "notes.txt", "mine");
  ASSERT_EQ(symlink(real.c_str(), (root + "home-link").c_str()), 0);
  home = root + "home-link/";
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + ".local/share").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + ".config").c_str(), 1);
  makeServices();
  makeDistribution(home, test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  ASSERT_EQ(install(distribution + "installer"), kExitDone);
  test::TreeSnapshot installed = snapshot();
  EXPECT_EQ(uninstall(real + "installer"), kExitCancelled);
  EXPECT_EQ(changesSince(installed), kNothing);
  EXPECT_EQ(uninstall(real + "Games/Kelvox/Sample/installer"), kExitDone);
  EXPECT_EQ(test::readFile(real + "notes.txt"), "mine");
  // The home folder's own files (the distribution, here) are as they were.
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, QuotedFolderThenReinstallIntoTheDefaultKeepsOtherGames) {
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  std::string quoted = home + "Games/My \"Best\" Game/";
  ASSERT_EQ(install(distribution + "installer", "~/Games/My \"Best\" Game"), kExitDone);
  // The next run proposes exactly that folder.
  std::optional<RunState> state = startUp(distribution, "installer", s->get().folders, *s->registry, s->files);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->installationFolder, quoted);
  test::TreeSnapshot first = snapshot();
  ASSERT_EQ(install(distribution + "installer", "~/Games/Kelvox/Sample"), kExitDone);
  EXPECT_EQ(uninstall(installation() + "installer"), kExitDone);
  // The earlier copy is no longer registered, but nothing of it or of other games was touched
  // (its shortcuts and W! file share their names with the later one's, and went with them).
  EXPECT_EQ(changesSince(first, true), kNothing);
  EXPECT_TRUE(exists(quoted + "installer"));
}

TEST_F(Sandbox, QuotedFolderReinstalledWhereProposedUninstallsOnlyItself) {
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  std::string quoted = home + "Games/My \"Best\" Game/";
  ASSERT_EQ(install(distribution + "installer", quoted), kExitDone);
  ASSERT_EQ(install(distribution + "installer"), kExitDone);  // the proposal: the same folder
  EXPECT_FALSE(exists(installation()));
  test::writeFile(quoted + "Save/Save00", "left by the game");
  EXPECT_EQ(uninstall(quoted + "installer"), kExitDone);
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, InstallationInAnExistingFolderTakesOnlyItsOwnFiles) {
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  ASSERT_EQ(install(distribution + "installer", "~/Downloads"), kExitDone);
  test::writeFile(home + "Downloads/Save/Save00", "left by the game");  // not in a folder it made
  EXPECT_EQ(uninstall(home + "Downloads/installer"), kExitDone);
  EXPECT_EQ(ui.count(" - このファイルを削除してもいいですか？"), 0);
  EXPECT_TRUE(exists(home + "Downloads/Save/Save00"));
  std::remove((home + "Downloads/Save/Save00").c_str());
  rmdir((home + "Downloads/Save").c_str());
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, LinkedDataFolderIsNeitherWrittenThroughNorCleanedBehind) {
  plantSentinels();
  test::writeFile(root + "elsewhere/a.dat", "not the game's");
  test::writeFile(installation() + "notes.txt", "the user's, from before");
  ASSERT_EQ(symlink((root + "elsewhere").c_str(), (installation() + "Data").c_str()), 0);
  makeDistribution(root + "dist/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  EXPECT_EQ(install(distribution + "installer"), kExitWithErrors);
  EXPECT_EQ(ui.count(installation() + "Data - 同じ名前のファイルが既に存在するのでフォルダが作成できません。"), 2);
  EXPECT_EQ(test::readFile(root + "elsewhere/a.dat"), "not the game's");
  EXPECT_FALSE(exists(root + "elsewhere/Sub"));
  EXPECT_EQ(uninstall(installation() + "installer"), kExitDone);
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, LinkPlacedAfterInstallationIsNotFollowedByTheUninstaller) {
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  ASSERT_EQ(install(distribution + "installer"), kExitDone);
  // The game's data folder replaced by a link to the user's files, with the same names.
  test::writeFile(root + "elsewhere/a.dat", "not the game's");
  test::writeFile(root + "elsewhere/Sub/b.dat", "not the game's");
  std::filesystem::remove_all(installation() + "Data");
  ASSERT_EQ(symlink((root + "elsewhere").c_str(), (installation() + "Data").c_str()), 0);
  test::TreeSnapshot elsewhere = test::snapshotTree(root + "elsewhere/");
  uninstall(installation() + "installer");
  EXPECT_EQ(test::snapshotTree(root + "elsewhere/"), elsewhere);
  EXPECT_FALSE(exists(installation() + "Data"));  // the link itself, asked about, went
  std::remove((root + "elsewhere/a.dat").c_str());
  std::filesystem::remove_all(root + "elsewhere/Sub");
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, MenuGroupFolderTurnedIntoALinkIsNotCleanedBehind) {
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  ASSERT_EQ(install(distribution + "installer"), kExitDone);
  std::string group = s->get().folders.programs + "サンプル";
  std::filesystem::remove_all(group);
  test::writeFile(root + "elsewhere/サンプル.desktop", "the user's own entry of that name");
  ASSERT_EQ(symlink((root + "elsewhere").c_str(), group.c_str()), 0);
  test::TreeSnapshot elsewhere = test::snapshotTree(root + "elsewhere/");
  EXPECT_EQ(uninstall(installation() + "installer"), kExitDone);
  EXPECT_EQ(test::snapshotTree(root + "elsewhere/"), elsewhere);
  // A new installation does not write through it either.
  ui.boxes.clear();
  EXPECT_EQ(install(distribution + "installer"), kExitWithErrors);
  EXPECT_EQ(ui.count("のショートカットを作成できませんでした。"), 3);
  EXPECT_EQ(test::snapshotTree(root + "elsewhere/"), elsewhere);
}

TEST_F(Sandbox, InstallationWithoutARecordRemovesOnlyTheConfigurationsFiles) {
  // Made before the record existed: the entry has only its name and command.
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  ASSERT_EQ(install(distribution + "installer"), kExitDone);
  ASSERT_TRUE(s->registry->deleteKey(RootKey::LocalMachine, uninstallKey()));
  ASSERT_TRUE(s->registry->createKey(RootKey::LocalMachine, uninstallKey()));
  ASSERT_TRUE(s->registry->setValue(RootKey::LocalMachine, uninstallKey(), "UninstallString",
                                    std::string("\"").append(installation()).append("installer\" /r")));
  test::writeFile(installation() + "Save/Save00", "left by the game");
  ui.boxes.clear();
  EXPECT_EQ(uninstall(installation() + "installer"), kExitWithErrors);
  EXPECT_EQ(ui.count(" - このファイルを削除してもいいですか？"), 0);  // no folder is proven to be its own
  EXPECT_EQ(ui.uninstallResult, installation() + " にはまだファイルが残っています。後で削除してください。");
  EXPECT_EQ(test::snapshotTree(installation()),
            (test::TreeSnapshot{{installation() + "Save/", "dir"}, {installation() + "Save/Save00", "file:left by the game"}}));
  EXPECT_FALSE(registered());
}

TEST_F(Sandbox, ReinstallationIntoTheSameFolderKeepsTheClaimOnItsFolders) {
  plantSentinels();
  makeDistribution(root + "dist/", test::sampleConfig());
  test::TreeSnapshot before = snapshot();
  ASSERT_EQ(install(distribution + "installer"), kExitDone);
  ASSERT_EQ(install(distribution + "installer"), kExitDone);  // the folders exist by now
  test::writeFile(installation() + "Save/Save00", "left by the game");
  EXPECT_EQ(uninstall(installation() + "installer"), kExitDone);
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST_F(Sandbox, SourcesOutsideTheDistributionAreNotCopied) {
  plantSentinels();
  test::writeFile(root + "secret.txt", "private");
  std::string extra = "7=..\\secret.txt,secret.txt\r\n8=inside.txt\r\n";
  makeDistribution(root + "dist/", test::sampleConfig(true, false, extra));
  ASSERT_EQ(symlink((root + "secret.txt").c_str(), (distribution + "inside.txt").c_str()), 0);
  test::TreeSnapshot before = snapshot();
  EXPECT_EQ(install(distribution + "installer"), kExitWithErrors);
  EXPECT_EQ(ui.count("../secret.txt は配布フォルダの外にあるので、コピーしません。"), 1);
  EXPECT_EQ(ui.count("inside.txt は配布フォルダの外にあるので、コピーしません。"), 1);
  EXPECT_FALSE(exists(installation() + "inside.txt"));
  EXPECT_EQ(uninstall(installation() + "installer"), kExitDone);
  EXPECT_EQ(changesSince(before), kNothing);
}

TEST(InstallRecordEntry, FolderNamesSurviveTheRoundTrip) {
  const char* names[] = {"My \"Best\" Game", "it's 100%", "new\nline", "tab\there", "\xE9t\xE9 latin-1",
                         "back\\slash", "'", "a b  c", "$HOME `x`"};
  char pattern[] = "/tmp/kelvox-record-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string store = std::string(pattern) + "/registry.reg";
  for (const char* name : names) {
    std::string folder = std::string("/home/u/Games/") + name + "/";
    InstallRecord record{folder, {folder, folder + "Data/"}, {folder + "installer", folder + "Data/a"}};
    {
      platform::installer::RegistryStore registry(store);
      ASSERT_TRUE(registry.createKey(RootKey::LocalMachine, "K"));
      auto values = recordValues(record);
      values.emplace_back("UninstallString", uninstallCommand(folder + "installer"));
      ASSERT_TRUE(registry.setValues(RootKey::LocalMachine, "K", values));
    }
    platform::installer::RegistryStore registry(store);
    std::optional<InstallRecord> back = readInstallRecord(registry, "K");
    ASSERT_TRUE(back) << name;
    EXPECT_EQ(back->folder, record.folder) << name;
    EXPECT_EQ(back->folders, record.folders) << name;
    EXPECT_EQ(back->files, record.files) << name;
    // Entries whose record was lost still find their folder from the command.
    EXPECT_EQ(folderFromUninstallString(*registry.queryValue(RootKey::LocalMachine, "K", "UninstallString")), folder)
        << name;
    std::remove(store.c_str());
  }
  std::filesystem::remove_all(pattern);
}

}  // namespace
}  // namespace kelvox::installer
