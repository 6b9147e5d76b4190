// Start-up reading: the configuration's name and place, the default and previous folders,
// and the entry lookup shared by installation and removal.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "installer/run_state.h"
#include "support.h"

namespace kelvox::installer {
namespace {

using platform::installer::RootKey;
using test::sjis;
using test::writeFile;

TEST(ConfigFileName, ExeEndingIsReplacedOtherNamesGetAnExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"SETUP.EXE", "SETUP.INF"}, {"setup.exe", "setup.INF"}, {"Setup.ExE", "Setup.INF"},
      {"installer", "installer.inf"}, {"exe", "exe.inf"}, {"a.exe.bak", "a.exe.bak.inf"},
  };
  for (const auto& [installer, config] : cases) EXPECT_EQ(configFileNameFor(installer), config) << installer;
}

TEST(PreviousInstallation, FolderIsCutFromTheUninstallString) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"/home/u/Games/Sample/installer\" /r", "/home/u/Games/Sample/"},
      {"\"/home/u/My Games/Sample/installer\" /r", "/home/u/My Games/Sample/"},  // a space inside quotes
      {"/home/u/Sample/installer /r", "/home/u/Sample/"},
      {"/home/u/Sample/installer", "/home/u/Sample/installer"},  // no end mark: the whole text
      {"\"installer\" /r", ""},                                   // no folder before the end mark
      {"\"/home/u/Games/My \"Best\" Game/installer\" /r", "/home/u/Games/My \"Best\" Game/"},  // quotes in a name
      {"'/home/u/My Games/it'\\''s/installer' /r", "/home/u/My Games/it's/"},  // as written now
      {"", ""},
  };
  for (const auto& [text, folder] : cases) EXPECT_EQ(folderFromUninstallString(text), folder) << text;
}

class StartUpTest : public test::TempHomeTest {
 protected:
  std::optional<RunState> start(const std::string& config, const std::string& configName = "installer.inf") {
    writeFile(dist + configName, config);
    test::TestServices s;
    return startUp(dist, "installer", s.get().folders, *s.registry, s.files);
  }
  std::string dist;
  void SetUp() override {
    TempHomeTest::SetUp();
    dist = root + "dist/";
  }
};

TEST_F(StartUpTest, FolderBelowProgramFilesNamesTheUninstallKey) {
  auto s = start("[Install]\nTitle=T\nFolder=Games\\Sample\n");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->installationFolder, home + "Games/Games/Sample/");
  EXPECT_EQ(s->uninstallKey, std::string(kUninstallKeys) + "\\Sample");
}

TEST_F(StartUpTest, LeadingBackslashPutsTheFolderBelowTheDriveRoot) {
  auto s = start("[Install]\nTitle=T\nFolder=\\Sample\n");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->installationFolder, home + "Sample/");
}

TEST_F(StartUpTest, TrailByteBackslashIsNoSeparator) {
  // Folder ゲーム\表: 表 ends in byte 0x5C, which must neither split nor end the last name.
  auto s = start(sjis("[Install]\nTitle=サンプル\nFolder=ゲーム\\表\n"));
  ASSERT_TRUE(s);
  EXPECT_EQ(s->title, "サンプル");
  EXPECT_EQ(s->installationFolder, home + "Games/ゲーム/表/");
  EXPECT_EQ(s->uninstallKey, std::string(kUninstallKeys) + "\\表");
}

TEST_F(StartUpTest, ConfigurationIsFoundWithoutRegardToCase) {
  auto s = start("[Install]\nTitle=T\nFolder=F\n", "INSTALLER.INF");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->configFileName, "INSTALLER.INF");
}

TEST_F(StartUpTest, SetupFileThatIsNoRegularFileOrTooLargeIsBroken) {
  std::string config = dist + "installer.inf";
  struct Case {
    const char* name;
    std::function<void()> make;
  } cases[] = {
      {"FIFO", [&] { ASSERT_EQ(mkfifo(config.c_str(), 0600), 0); }},
      {"link to /dev/zero", [&] { ASSERT_EQ(symlink("/dev/zero", config.c_str()), 0); }},
      {"folder", [&] { std::filesystem::create_directories(config); }},
      {"larger than the limit", [&] {
         writeFile(config, "[Install]\nTitle=T\nFolder=F\n");
         ASSERT_EQ(truncate(config.c_str(), static_cast<off_t>(kSetupFileLimit) + 1), 0);
       }},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(dist);
    std::filesystem::create_directories(dist);
    c.make();
    test::TestServices s;
    EXPECT_FALSE(startUp(dist, "installer", s.get().folders, *s.registry, s.files)) << c.name;
  }
  // At the limit it is still read.
  std::filesystem::remove_all(dist);
  writeFile(config, "[Install]\nTitle=T\nFolder=F\n");
  ASSERT_EQ(truncate(config.c_str(), static_cast<off_t>(kSetupFileLimit)), 0);
  test::TestServices s;
  EXPECT_TRUE(startUp(dist, "installer", s.get().folders, *s.registry, s.files));
}

TEST_F(StartUpTest, MissingOrNamelessConfigurationIsBroken) {
  test::TestServices s;
  EXPECT_FALSE(startUp(dist, "installer", s.get().folders, *s.registry, s.files));
  EXPECT_FALSE(start("[Install]\nTitle=T\nFolder=\\\n"));  // no name for the uninstall key
}

TEST_F(StartUpTest, PreviousInstallationReplacesTheDefaultFolder) {
  {
    test::TestServices s;
    std::string key = std::string(kUninstallKeys) + "\\Sample";
    ASSERT_TRUE(s.registry->createKey(RootKey::LocalMachine, key));
    ASSERT_TRUE(s.registry->setValue(RootKey::LocalMachine, key, "UninstallString", "\"/opt/old/Sample/installer\" /r"));
  }
  auto s = start("[Install]\nTitle=T\nFolder=Games\\Sample\n");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->installationFolder, "/opt/old/Sample/");
}

TEST_F(StartUpTest, FileEntriesMapToTheirFolders) {
  auto s = start(
      "[Install]\nTitle=T\nFolder=F\n1=kelvox\n2=src.dat,Data\\dst.dat\n3=a.bin,W!a.bin\n4=x.dll,S!x.dll\n"
      "5=..\\..\\evil,..\\..\\evil\n6=ok,Data\\..\\ok\n");
  ASSERT_TRUE(s);
  s->installationFolder = "/inst/";
  auto folders = platform::installer::hostFoldersFromEnvironment();
  struct Case {
    int n;
    std::string source, destination;
    bool cleanable, outside;
  } cases[] = {
      {-1, "installer", "/inst/installer", true, false},
      {0, "installer.inf", "/inst/installer.inf", true, false},
      {1, "kelvox", "/inst/kelvox", true, false},
      {2, "src.dat", "/inst/Data/dst.dat", true, false},
      {3, "a.bin", folders.windowsFolder + "a.bin", true, false},
      {4, "x.dll", folders.systemFolder + "x.dll", false, false},
      {5, "../../evil", "", true, true},
      {6, "ok", "/inst/ok", true, false},
  };
  for (const auto& c : cases) {
    FileEntryPaths e = fileEntry(*s, folders, c.n);
    EXPECT_EQ(e.source, c.source) << c.n;
    EXPECT_EQ(e.outside, c.outside) << c.n;
    if (!c.outside) {
      EXPECT_EQ(e.destination, c.destination) << c.n;
    }
    EXPECT_EQ(e.cleanable, c.cleanable) << c.n;
  }
}

TEST_F(StartUpTest, GroupEntriesGetFullTargetsAndSplitArguments) {
  auto s = start(
      "[Install]\nTitle=T\nFolder=F\n[Group]\n1=Play,kelvox\n2=Remove,installer,/r \"two words\"\n"
      "3=Escape,..\\..\\bin\\sh\n");
  ASSERT_TRUE(s);
  s->installationFolder = "/a,b/";  // a comma in the folder is not an argument separator
  GroupItem play = groupEntry(*s, 1), remove = groupEntry(*s, 2), escape = groupEntry(*s, 3);
  EXPECT_EQ(play.target, "/a,b/kelvox");
  EXPECT_TRUE(play.arguments.empty());
  EXPECT_EQ(remove.target, "/a,b/installer");
  EXPECT_EQ(remove.arguments, (std::vector<std::string>{"/r", "two words"}));
  EXPECT_TRUE(escape.outside);
}

}  // namespace
}  // namespace kelvox::installer
