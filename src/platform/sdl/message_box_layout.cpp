// Windows' message-box button sets and their keys.
#include "platform/sdl/message_box_layout.h"

namespace kelvox::platform::sdl {
namespace {

constexpr const char* kLabelOk = "OK";
constexpr const char* kLabelCancel = "キャンセル";
constexpr const char* kLabelYes = "はい(Y)";
constexpr const char* kLabelNo = "いいえ(N)";

}  // namespace

BoxLayout layoutButtons(Buttons buttons, int defaultButton) {
  BoxLayout layout;
  auto add = [&layout](Answer answer, const char* label) {
    layout.buttons[static_cast<size_t>(layout.count++)] = {answer, label, false, false};
  };
  switch (buttons) {
    case Buttons::Ok:
      add(Answer::Ok, kLabelOk);
      break;
    case Buttons::OkCancel:
      add(Answer::Ok, kLabelOk);
      add(Answer::Cancel, kLabelCancel);
      break;
    case Buttons::YesNo:
      add(Answer::Yes, kLabelYes);
      add(Answer::No, kLabelNo);
      break;
    case Buttons::YesNoCancel:
      add(Answer::Yes, kLabelYes);
      add(Answer::No, kLabelNo);
      add(Answer::Cancel, kLabelCancel);
      break;
  }
  // Escape (and the close button) answers Cancel where there is one, else the last button:
  // No for Yes/No, OK for OK alone.
  BoxButton& escape = layout.buttons[static_cast<size_t>(layout.count - 1)];
  escape.escapeKey = true;
  layout.closeAnswer = escape.answer;

  int def = defaultButton >= 0 && defaultButton < layout.count ? defaultButton : 0;
  layout.buttons[static_cast<size_t>(def)].returnKey = true;
  layout.defaultAnswer = layout.buttons[static_cast<size_t>(def)].answer;
  return layout;
}

std::string describeUnshownBox(const std::string& utf8Caption, const std::string& utf8Text,
                               const BoxLayout& layout, Answer answer) {
  std::string line = utf8Caption + ": ";
  for (size_t i = 0; i < utf8Text.size(); ++i) {
    char c = utf8Text[i];
    if (c == '\r' && i + 1 < utf8Text.size() && utf8Text[i + 1] == '\n') continue;
    line += (c == '\r' || c == '\n') ? ' ' : c;
  }
  line += " [";
  for (int i = 0; i < layout.count; ++i) {
    if (i > 0) line += '/';
    line += answerName(layout.buttons[static_cast<size_t>(i)].answer);
  }
  line += "] -> ";
  line += answerName(answer);
  return line;
}

}  // namespace kelvox::platform::sdl
