// Message boxes: Windows' button sets with their Return and Escape buttons, and the box that
// cannot be shown answering its default on stderr instead of hanging.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/sdl/message_box_layout.h"
#include "platform/sdl/sdl_dialogs.h"
#include "platform/text_encoding.h"

namespace kelvox::platform::sdl {
namespace {

TEST(MessageBoxLayout, ButtonsInWindowsOrderWithTheirKeys) {
  struct Case {
    const char* name;
    Buttons buttons;
    int defaultButton;
    std::vector<Answer> order;
    int returnIndex;  // the button Return presses
    int escapeIndex;  // the button Escape presses
  };
  const Case cases[] = {
      {"OK", Buttons::Ok, 0, {Answer::Ok}, 0, 0},
      {"OK, default past the end", Buttons::Ok, 1, {Answer::Ok}, 0, 0},
      {"OK/Cancel", Buttons::OkCancel, 0, {Answer::Ok, Answer::Cancel}, 0, 1},
      {"OK/Cancel, Cancel default", Buttons::OkCancel, 1, {Answer::Ok, Answer::Cancel}, 1, 1},
      {"OK/Cancel, negative default", Buttons::OkCancel, -1, {Answer::Ok, Answer::Cancel}, 0, 1},
      {"Yes/No", Buttons::YesNo, 0, {Answer::Yes, Answer::No}, 0, 1},
      {"Yes/No, No default", Buttons::YesNo, 1, {Answer::Yes, Answer::No}, 1, 1},
      {"Yes/No/Cancel, third", Buttons::YesNoCancel, 2, {Answer::Yes, Answer::No, Answer::Cancel}, 2, 2},
      {"Yes/No/Cancel, second", Buttons::YesNoCancel, 1, {Answer::Yes, Answer::No, Answer::Cancel}, 1, 2},
      {"Yes/No/Cancel, past the end", Buttons::YesNoCancel, 3, {Answer::Yes, Answer::No, Answer::Cancel}, 0, 2},
  };
  for (const Case& c : cases) {
    BoxLayout layout = layoutButtons(c.buttons, c.defaultButton);
    ASSERT_EQ(layout.count, static_cast<int>(c.order.size())) << c.name;
    for (int i = 0; i < layout.count; ++i) {
      const BoxButton& b = layout.buttons[static_cast<size_t>(i)];
      EXPECT_EQ(b.answer, c.order[static_cast<size_t>(i)]) << c.name << " #" << i;
      EXPECT_EQ(b.returnKey, i == c.returnIndex) << c.name << " #" << i;
      EXPECT_EQ(b.escapeKey, i == c.escapeIndex) << c.name << " #" << i;
    }
    EXPECT_EQ(layout.defaultAnswer, c.order[static_cast<size_t>(c.returnIndex)]) << c.name;
    EXPECT_EQ(layout.closeAnswer, c.order[static_cast<size_t>(c.escapeIndex)]) << c.name;
  }
}

TEST(MessageBoxLayout, UnshownBoxIsOneLine) {
  BoxLayout box = layoutButtons(Buttons::OkCancel, 1);
  EXPECT_EQ(describeUnshownBox("Zarveth Ver1.10", "一行目\r\n二行目\n三行目", box, Answer::Cancel),
            "Zarveth Ver1.10: 一行目 二行目 三行目 [OK/Cancel] -> Cancel");
  EXPECT_EQ(describeUnshownBox("", "", layoutButtons(Buttons::Ok, 0), Answer::Ok), ":  [OK] -> OK");
}

// Takes the display away for one test and gives it back.
class NoDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
      const char* value = std::getenv(name);
      saved_.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(NoDisplay, BoxAnswersItsDefaultAndSaysSoOnStderr) {
  struct Case {
    Buttons buttons;
    int defaultButton;
    Answer expected;
  };
  const Case cases[] = {
      {Buttons::OkCancel, 1, Answer::Cancel},
      {Buttons::OkCancel, 0, Answer::Ok},
      {Buttons::YesNo, 1, Answer::No},
      {Buttons::YesNoCancel, 0, Answer::Yes},
      {Buttons::Ok, 0, Answer::Ok},
  };
  SdlDialogs dialogs;
  for (const Case& c : cases) {
    ::testing::internal::CaptureStderr();
    Answer answer = dialogs.messageBox(toSjis("終了しますか"), toSjis("Zarveth Ver1.10"), c.buttons,
                                       Icon::Question, c.defaultButton);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, c.expected) << answerName(c.expected);
    EXPECT_NE(err.find("Zarveth Ver1.10: 終了しますか ["), std::string::npos) << err;
    EXPECT_NE(err.find(std::string("] -> ") + answerName(c.expected)), std::string::npos) << err;
  }
}

}  // namespace
}  // namespace kelvox::platform::sdl
