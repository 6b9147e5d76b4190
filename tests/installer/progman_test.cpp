// The old shell's path: the Program Manager commands of installation and removal, sent to a
// recording stand-in for the DDE server.
#include <gtest/gtest.h>

#include "installer/app.h"
#include "installer/progman_commands.h"
#include "installer/removal.h"
#include "sample_distribution.h"
#include "support.h"

namespace kelvox::installer {
namespace {

class ProgmanTest : public test::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    s = std::make_unique<test::TestServices>();
    s->files.freeSpace = uint64_t(1) << 40;
    s->get().newShell = false;
  }
  void install(const std::string& config) {
    d = test::makeSampleDistribution(root + "dist/", home, config);
    ASSERT_EQ(runProgram(CommandLine{}, d.installer, s->get(), ui), kExitDone);
  }
  std::unique_ptr<test::TestServices> s;
  test::SampleDistribution d;
  test::ScriptedUi ui;
};

TEST(ProgmanCommands, TextsAreTheProgramManagersSyntax) {
  EXPECT_EQ(createGroupCommand("サンプル"), "[CreateGroup(\"サンプル\",0)]");
  EXPECT_EQ(addItemCommand("/g/kelvox", "サンプル"), "[AddItem(\"/g/kelvox\",\"サンプル\")]");
  EXPECT_EQ(showStartupGroupCommand(), "[ShowGroup(\"スタートアップ\",1)]");
  EXPECT_EQ(deleteGroupCommand("T"), "[DeleteGroup(\"T\",0)]");
  EXPECT_EQ(deleteItemCommand("T"), "[DeleteItem(\"T\")]");
}

TEST_F(ProgmanTest, GroupEntriesBecomeItemsOfOneGroup) {
  install(test::sampleConfig(true));
  const std::string& i = d.installation;
  EXPECT_EQ(s->programManager.commands,
            (std::vector<std::string>{"[CreateGroup(\"サンプル\",0)]", "[AddItem(\"" + i + "kelvox\",\"サンプル\")]",
                                      "[AddItem(\"" + i + "readme.txt\",\"説明書\")]",
                                      "[AddItem(\"" + i + "installer /r\",\"サンプルの削除\")]"}));
  EXPECT_FALSE(test::exists(s->get().folders.programs));  // no Desktop Entries on this shell
}

TEST_F(ProgmanTest, WithoutGroupEntriesTheGroupHoldsTheProgramAndItsRemoval) {
  ui.desktop = true;  // the box is disabled on this shell: no desktop item either
  install(test::sampleConfig(false));
  const std::string& i = d.installation;
  EXPECT_EQ(s->programManager.commands,
            (std::vector<std::string>{"[CreateGroup(\"サンプル\",0)]", "[AddItem(\"" + i + "kelvox\",\"サンプル\")]",
                                      "[AddItem(\"" + i + "installer /r\",\"サンプルの削除\")]"}));
}

TEST_F(ProgmanTest, ResidentProgramGoesIntoTheStartupGroup) {
  install(test::sampleConfig(true, true));
  EXPECT_EQ(s->programManager.commands,
            (std::vector<std::string>{"[ShowGroup(\"スタートアップ\",1)]",
                                      "[AddItem(\"" + d.installation + "kelvox\",\"サンプル\")]"}));
}

TEST_F(ProgmanTest, RemovalDeletesGroupsAndTheStartupItem) {
  install(test::sampleConfig(false));
  s->programManager.commands.clear();
  auto state = startUp(d.installation, "installer", s->get().folders, *s->registry, s->files);
  ASSERT_TRUE(state);
  state->installationFolder = d.installation;
  removeInstallation(*state, readInstallRecord(*s->registry, state->uninstallKey), s->get(), ui);
  EXPECT_EQ(s->programManager.commands,
            (std::vector<std::string>{"[DeleteGroup(\"サンプル\",0)]", "[DeleteGroup(\"サンプル\",0)]",
                                      "[ShowGroup(\"スタートアップ\",1)]", "[DeleteItem(\"サンプル\")]"}));
}

TEST(ProgmanConversation, NothingIsSentWithoutAServerOrAfterItLeft) {
  test::FakeProgramManager absent;
  absent.answers = false;
  EXPECT_EQ(sendProgramManagerCommands(absent, {"a", "b"}), 0u);
  test::FakeProgramManager leaving;
  leaving.disconnectAfter = 1;
  EXPECT_EQ(sendProgramManagerCommands(leaving, {"a", "b", "c"}), 1u);
  EXPECT_EQ(leaving.commands, (std::vector<std::string>{"a"}));
}

}  // namespace
}  // namespace kelvox::installer
