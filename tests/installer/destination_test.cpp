// The destination page's Next: root and relative paths refused, creatability tested, the
// low-space question, and the way on to the options or progress page.
#include <gtest/gtest.h>

#include "installer/destination.h"
#include "support.h"

namespace kelvox::installer {
namespace {

class DestinationTest : public test::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    s = std::make_unique<test::TestServices>();
    s->files.freeSpace = uint64_t(1) << 40;
    state.title = "サンプル";
  }
  DestinationResult next(const std::string& field) { return acceptDestination(field, state, s->get(), ui); }
  std::unique_ptr<test::TestServices> s;
  RunState state;
  test::ScriptedUi ui;
};

TEST_F(DestinationTest, RootHomeAndRelativePathsAreRefused) {
  struct Case {
    std::string field;
    const char* message;
  } cases[] = {
      {"", "ルートディレクトリにはインストールできません。"},
      {"/", "ルートディレクトリにはインストールできません。"},
      {"/tmp/..", "ルートディレクトリにはインストールできません。"},
      {home, "ルートディレクトリにはインストールできません。"},  // the home folder is the drive's root here
      {home.substr(0, home.size() - 1), "ルートディレクトリにはインストールできません。"},
      {"~", "ルートディレクトリにはインストールできません。"},
      {"Games/Sample", "「C:\\Soft」のように、ドライブ名も含めた正しいパス名を指定してください。"},
      {"./Sample", "「C:\\Soft」のように、ドライブ名も含めた正しいパス名を指定してください。"},
  };
  for (const auto& c : cases) {
    ui.boxes.clear();
    EXPECT_EQ(next(c.field), DestinationResult::Stay) << c.field;
    ASSERT_EQ(ui.boxes.size(), 1u) << c.field;
    EXPECT_EQ(ui.boxes[0].text, c.message) << c.field;
    EXPECT_EQ(ui.boxes[0].caption, "");
    EXPECT_EQ(ui.boxes[0].icon, Icon::Error);
  }
}

TEST_F(DestinationTest, CreatabilityTestLeavesNoFolderMade) {
  // Step 0 makes them all, so that the installation's record can claim them.
  EXPECT_EQ(next(root + "a/b/c"), DestinationResult::Options);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(state.installationFolder, root + "a/b/c/");
  EXPECT_FALSE(test::exists(root + "a"));
}

TEST_F(DestinationTest, HomeAndRootAreComparedAsRealPaths) {
  ASSERT_EQ(symlink(home.c_str(), (root + "home-link").c_str()), 0);
  ASSERT_EQ(symlink("/", (root + "root-link").c_str()), 0);
  for (std::string field : {root + "home-link", root + "home-link/", root + "root-link", home + "Games/.."}) {
    ui.boxes.clear();
    EXPECT_EQ(next(field), DestinationResult::Stay) << field;
    ASSERT_EQ(ui.boxes.size(), 1u) << field;
    EXPECT_EQ(ui.boxes[0].text, "ルートディレクトリにはインストールできません。") << field;
  }
}

TEST_F(DestinationTest, FolderNoLauncherCanNameIsRefused) {
  struct Case {
    std::string name;
    bool accepted;
  } cases[] = {
      {"My \"Best\" Game", true}, {"100% 'sure' $HOME `x`", true}, {"ゲーム", true},
      {"new\nline", false},        {"tab\there", false},            {"esc\x1B[2J", false},
      {"latin1 \xE9t\xE9", false}, {"c1 \xC2\x9B", false},       {"cut \xE3\x82", false},
  };
  for (const auto& c : cases) {
    ui.boxes.clear();
    std::string folder = home + "Games/" + c.name + "/";
    EXPECT_EQ(next(folder) != DestinationResult::Stay, c.accepted) << c.name;
    if (c.accepted) {
      EXPECT_TRUE(ui.boxes.empty()) << c.name;
      continue;
    }
    ASSERT_EQ(ui.boxes.size(), 1u) << c.name;
    EXPECT_EQ(ui.boxes[0].text,
              folder + " - このフォルダ名ではゲームを起動するショートカットが作れません。別の名前を指定してください。");
    EXPECT_FALSE(test::exists(home + "Games"));
  }
}

TEST_F(DestinationTest, TildeMeansTheHomeFolder) {
  EXPECT_EQ(next("~/Games/Sample"), DestinationResult::Options);
  EXPECT_EQ(state.installationFolder, home + "Games/Sample/");
}

TEST_F(DestinationTest, FileInTheWayIsNamedInTheMessage) {
  test::writeFile(root + "plain", "x");
  EXPECT_EQ(next(root + "plain/sub"), DestinationResult::Stay);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, root + "plain" + " - 同じ名前のファイルが既に存在するのでフォルダが作成できません。");
}

TEST_F(DestinationTest, FolderThatCannotBeMadeIsNamedInTheMessage) {
  s->files.makeFails.insert(root + "locked");
  EXPECT_EQ(next(root + "locked/sub"), DestinationResult::Stay);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, root + "locked" + " のフォルダ作成に失敗しました。");
}

TEST_F(DestinationTest, LowSpaceAsksWithTheFigureInMegabytes) {
  struct Case {
    uint64_t figure;
    Answer answer;
    bool asked;
    std::string megabytes;  // ⌊⌊figure ÷ 102⌋ ÷ 1024⌋
    DestinationResult result;
  } cases[] = {
      {10485759, Answer::No, true, "100", DestinationResult::Stay},  // 10485759/102 = 102801; /1024 = 100
      {10485759, Answer::Yes, true, "100", DestinationResult::Options},
      {0, Answer::Yes, true, "0", DestinationResult::Options},
      {104447, Answer::Yes, true, "0", DestinationResult::Options},  // 1023 after ÷102, so 0
      {104448, Answer::Yes, true, "1", DestinationResult::Options},  // 1024 after ÷102
      {10485760, Answer::No, false, "", DestinationResult::Options},
      {uint64_t(5) << 32, Answer::No, false, "", DestinationResult::Options},  // would wrap in 32 bits
  };
  for (const auto& c : cases) {
    ui.boxes.clear();
    ui.rules = {{"メガバイトしかありません。かまわずにインストールしますか？", c.answer}};
    s->files.freeSpace = c.figure;
    EXPECT_EQ(next(root + "dest"), c.result) << c.figure;
    ASSERT_EQ(ui.boxes.size(), c.asked ? 1u : 0u) << c.figure;
    if (!c.asked) continue;
    EXPECT_EQ(ui.boxes[0].text, std::string("指定されたドライブの残り容量が ") + c.megabytes + "メガバイトしかありません。かまわずにインストールしますか？");
    EXPECT_EQ(ui.boxes[0].caption, "サンプル");
    EXPECT_EQ(ui.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui.boxes[0].icon, Icon::Question);
  }
}

TEST_F(DestinationTest, ResidentProgramSkipsTheOptionsPage) {
  state.resident = true;
  EXPECT_EQ(next(root + "dest"), DestinationResult::Progress);
}

TEST_F(DestinationTest, FreeSpaceOfAMissingFolderIsItsNearestParents) {
  platform::installer::FileOps real;
  uint64_t parent = real.freeSpaceFigure(root);
  uint64_t missing = real.freeSpaceFigure(root + "not/yet/made/");
  ASSERT_GT(parent, 0u);
  // The same file system; other programs may write in between, so allow a little drift.
  EXPECT_NEAR(static_cast<double>(missing), static_cast<double>(parent), parent * 0.01);
}

}  // namespace
}  // namespace kelvox::installer
