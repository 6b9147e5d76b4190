// Modal message boxes, the stand-in for MessageBoxA. Texts and captions are Shift-JIS, as the
// engine holds them; each implementation converts for its display. The SDL version shows a
// real box; the headless version answers from a queue and prints every box as one line.
#pragma once

#include <string>
#include <vector>

namespace kelvox::platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Stop, Question, Warning, Information };
enum class Answer { Ok, Cancel, Yes, No };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows [text] under [caption] and waits for the user. [defaultButton] is 0 for the first
  // button, 1 for the second, … Returns the button chosen; closing the box without a button
  // answers Cancel where there is one (No for YesNo, Ok for Ok).
  virtual Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                            Icon icon = Icon::None, int defaultButton = 0) = 0;
};

// The answer a box with [buttons] gives for a wish of [wanted] that it may not offer:
// Ok/Yes and Cancel/No stand in for each other, and an Ok-only box always answers Ok.
Answer fitAnswer(Answer wanted, Buttons buttons);

const char* answerName(Answer answer);  // "OK", "Cancel", "Yes", "No"

// Parses "ok,cancel,yes,no" (any case, blanks ignored) onto [answers]; false on an unknown word.
bool parseAnswerList(const std::string& text, std::vector<Answer>& answers);

}  // namespace kelvox::platform
