// The terminal front end, driven through string streams: prompts and their defaults, the end
// of input as Cancel, and the unattended run that asks nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "installer/app.h"
#include "installer/ui_text.h"
#include "sample_distribution.h"
#include "support.h"

namespace kelvox::installer {
namespace {

class TextUiTest : public test::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    s = std::make_unique<test::TestServices>();
    s->files.freeSpace = uint64_t(1) << 40;
    d = test::makeSampleDistribution(root + "dist/", home);
  }
  int run(const std::string& input, bool unattended, CommandLine cl = {}) {
    in.str(input);
    TextUi ui(in, out, err, unattended, false);
    return runProgram(cl, d.installer, s->get(), ui);
  }
  std::unique_ptr<test::TestServices> s;
  test::SampleDistribution d;
  std::istringstream in;
  std::ostringstream out, err;
};

TEST_F(TextUiTest, EmptyAnswersKeepTheProposals) {
  // Folder: Enter; start menu [Y/n]: Enter; desktop [y/N]: "y"; Finish: Enter.
  EXPECT_EQ(run("\n\ny\n\n", false), kExitDone);
  EXPECT_NE(out.str().find("サンプルのインストール"), std::string::npos);
  EXPECT_NE(out.str().find("[" + d.installation + "]"), std::string::npos);
  EXPECT_NE(out.str().find("インストールが完了しました。「完了」を押すと起動します。"), std::string::npos);
  EXPECT_TRUE(test::exists(d.installation + "kelvox"));
  EXPECT_TRUE(test::exists(s->get().folders.programs + "サンプル"));
  EXPECT_TRUE(test::exists(s->get().folders.desktop + "サンプル.desktop"));
  EXPECT_EQ(s->processes.started.size(), 1u);
}

TEST_F(TextUiTest, RefusedFolderIsAskedAgain) {
  EXPECT_EQ(run("relative\n" + root + "elsewhere\nn\nn\n\n", false), kExitDone);
  EXPECT_NE(err.str().find("「C:\\Soft」のように、ドライブ名も含めた正しいパス名を指定してください。"), std::string::npos);
  EXPECT_TRUE(test::exists(root + "elsewhere/kelvox"));
  EXPECT_FALSE(test::exists(s->get().folders.programs + "サンプル"));
}

TEST_F(TextUiTest, EndOfInputCancels) {
  EXPECT_EQ(run("", false), kExitCancelled);
  EXPECT_EQ(run("\n", false), kExitCancelled);  // at the start-menu question
  EXPECT_FALSE(test::exists(d.installation));
}

TEST_F(TextUiTest, QuestionsTakeOnlyTheirOwnLettersAndEndOfInputCloses) {
  struct Case {
    Buttons buttons;
    std::string input;
    Answer answer;
  } cases[] = {
      {Buttons::YesNo, "x\nY\n", Answer::Yes},
      {Buttons::YesNo, "c\nn\n", Answer::No},  // no Cancel on this box
      {Buttons::YesNo, "", Answer::No},
      {Buttons::YesNoCancel, "c\n", Answer::Cancel},
      {Buttons::YesNoCancel, "", Answer::Cancel},
      {Buttons::OkCancel, "o\n", Answer::Ok},
      {Buttons::OkCancel, "y\n", Answer::Cancel},  // 'y' is no answer here; then the end
      {Buttons::Ok, "", Answer::Ok},
  };
  for (const auto& c : cases) {
    std::istringstream input(c.input);
    TextUi ui(input, out, err, false, false);
    EXPECT_EQ(ui.message({"?", "T", c.buttons, Icon::Question}), c.answer) << c.input;
  }
}

TEST_F(TextUiTest, UnattendedRunAsksNothingAndHonoursTheOptions) {
  CommandLine cl;
  cl.options.folder = root + "unattended";
  cl.options.startMenu = false;
  cl.options.desktop = true;
  cl.options.noStart = true;
  EXPECT_EQ(run("", true, cl), kExitDone);
  EXPECT_TRUE(test::exists(root + "unattended/kelvox"));
  EXPECT_FALSE(test::exists(s->get().folders.programs + "サンプル"));
  EXPECT_TRUE(test::exists(s->get().folders.desktop + "サンプル.desktop"));
  EXPECT_TRUE(s->processes.started.empty());
}

TEST_F(TextUiTest, UnattendedRefusalEndsTheRun) {
  CommandLine cl;
  cl.options.folder = "/";
  EXPECT_EQ(run("", true, cl), kExitCancelled);
  EXPECT_NE(err.str().find("ルートディレクトリにはインストールできません。"), std::string::npos);
}

TEST_F(TextUiTest, UnattendedQuestionsAreAnsweredYesAndShown) {
  s->files.freeSpace = 0;
  CommandLine cl;
  cl.options.noStart = true;
  EXPECT_EQ(run("", true, cl), kExitDone);
  EXPECT_NE(out.str().find(std::string("メガバイトしかありません。かまわずにインストールしますか？") + " → はい"), std::string::npos);
}

}  // namespace
}  // namespace kelvox::installer
