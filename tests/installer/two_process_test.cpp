// The real installer program, run as its own processes in the temporary HOME: an unattended
// installation that starts the game, then the uninstall request, which copies itself into the
// system folder and starts that copy, which removes everything and then its own file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "installer/run_state.h"
#include "platform/installer/game_lock.h"
#include "platform/installer/processes.h"
#include "platform/installer/registry_store.h"
#include "sample_distribution.h"
#include "support.h"

namespace kelvox::installer {
namespace {

using platform::installer::RootKey;
using test::exists;

class TwoProcessTest : public test::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    // No document is opened: xdg-open would reach for whatever the machine has.
    std::string config = test::sampleConfig();
    config.erase(config.find("Open=readme.txt\r\n"), 17);
    d = test::makeSampleDistribution(root + "dist/", home, config);
    platform::installer::FileOps files;
    ASSERT_EQ(files.copyFile(KELVOX_INSTALLER_PROGRAM, d.installer, true), platform::installer::CopyResult::Copied);
    folders = platform::installer::hostFoldersFromEnvironment();
  }
  std::optional<int> run(const std::string& program, const std::vector<std::string>& args) {
    return platform::installer::Processes().run(program, args, root);
  }
  // Waits up to five seconds for [path] to appear.
  bool appears(const std::string& path) {
    for (int i = 0; i < 100 && !exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return exists(path);
  }
  test::SampleDistribution d;
  platform::installer::HostFolders folders;
};

TEST_F(TwoProcessTest, InstallStartTheGameThenUninstallInTwoProcesses) {
  EXPECT_EQ(run(d.installer, {"--yes", "--desktop"}), 0);
  EXPECT_TRUE(exists(d.installation + "installer"));
  EXPECT_TRUE(exists(folders.desktop + "サンプル.desktop"));
  // The game (a script here) was started in the installation folder.
  ASSERT_TRUE(appears(d.installation + "started.txt"));

  EXPECT_EQ(run(d.installation + "installer", {"/r", "--yes"}), 0);
  EXPECT_FALSE(exists(d.installation));
  EXPECT_FALSE(exists(folders.desktop + "サンプル.desktop"));
  EXPECT_FALSE(exists(folders.programs + "サンプル"));
  EXPECT_FALSE(exists(folders.windowsFolder + "w.bin"));
  EXPECT_TRUE(exists(folders.systemFolder + "s.dll"));
  EXPECT_FALSE(exists(folders.systemFolder + "installer"));  // the copy removed itself at exit
  platform::installer::RegistryStore registry(folders.registryFile);
  EXPECT_FALSE(registry.keyExists(RootKey::LocalMachine, std::string(kUninstallKeys) + "\\Sample"));
}

TEST_F(TwoProcessTest, RunningGameKeepsItsProgramAndTheExitStatusSaysSo) {
  ASSERT_EQ(run(d.installer, {"--yes", "--no-start"}), 0);
  int lock = open((folders.runtimeFolder + platform::installer::kGameLockName).c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(run(d.installation + "installer", {"/r", "--yes"}), 3);
  close(lock);
  EXPECT_TRUE(exists(d.installation + "kelvox"));
  EXPECT_TRUE(exists(d.installation + "installer"));
  EXPECT_FALSE(exists(folders.systemFolder + "installer"));
}

TEST_F(TwoProcessTest, MissingConfigurationExitsWithOne) {
  std::remove((d.folder + "installer.inf").c_str());
  EXPECT_EQ(run(d.installer, {"--text"}), 1);
  EXPECT_EQ(run(d.installer, {"/r", "--text"}), 1);
  EXPECT_EQ(run(d.installer, {"--bogus"}), 1);
  EXPECT_EQ(run(d.installer, {"--help"}), 0);
  EXPECT_FALSE(exists(d.installation));
}

// A user's own steps: the distribution unpacked in ~/Downloads, installed and "uninstalled" there.
TEST_F(TwoProcessTest, UninstallerLeftInDownloadsRefusesAndDownloadsStays) {
  std::string downloads = home + "Downloads/";
  std::string config = test::sampleConfig();
  config.erase(config.find("Open=readme.txt\r\n"), 17);
  test::SampleDistribution dl = test::makeSampleDistribution(downloads, home, config);
  platform::installer::FileOps files;
  ASSERT_EQ(files.copyFile(KELVOX_INSTALLER_PROGRAM, dl.installer, true), platform::installer::CopyResult::Copied);
  test::writeFile(downloads + "photo.jpg", "jpeg");
  EXPECT_EQ(run(dl.installer, {"--yes", "--no-start"}), 0);
  EXPECT_EQ(run(dl.installer, {"/r", "--yes"}), 2);
  EXPECT_EQ(test::readFile(downloads + "photo.jpg"), "jpeg");
  EXPECT_TRUE(exists(dl.installer));
  EXPECT_TRUE(exists(d.installation + "kelvox"));
  platform::installer::RegistryStore registry(folders.registryFile);
  EXPECT_TRUE(registry.keyExists(RootKey::LocalMachine, std::string(kUninstallKeys) + "\\Sample"));
  // Words that are not a mode are an error, not an uninstallation.
  EXPECT_EQ(run(d.installation + "installer", {"repair", "--yes"}), 1);
  EXPECT_EQ(run(d.installation + "installer", {"/r", downloads, "--yes"}), 1);
  EXPECT_TRUE(exists(d.installation + "kelvox"));
  EXPECT_EQ(run(d.installation + "installer", {"/r", "--yes"}), 0);
  EXPECT_FALSE(exists(d.installation));
  EXPECT_EQ(test::readFile(downloads + "photo.jpg"), "jpeg");
}

TEST_F(TwoProcessTest, DamagedRegistryStoreStopsTheProgramAndStaysAsItWas) {
  std::string damaged = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\nnot a value line\n";
  test::writeFile(folders.registryFile, damaged);
  EXPECT_EQ(run(d.installer, {"--list"}), 1);
  EXPECT_EQ(run(d.installer, {"--yes", "--no-start"}), 1);
  EXPECT_FALSE(exists(d.installation));
  EXPECT_EQ(test::readFile(folders.registryFile), damaged);
}

}  // namespace
}  // namespace kelvox::installer
