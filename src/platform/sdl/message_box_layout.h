// The buttons of a message box as Windows lays them out for MessageBoxA, independent of the
// toolkit that draws them: order, labels, which one Return picks (the default button) and what
// Escape or the close button answers. SdlDialogs turns this into an SDL message box.
#pragma once

#include <array>
#include <string>

#include "platform/dialogs.h"

namespace kelvox::platform::sdl {

struct BoxButton {
  Answer answer;
  const char* label;  // UTF-8, as a Japanese system labels it
  bool returnKey;     // the default button
  bool escapeKey;     // the button Escape presses
};

struct BoxLayout {
  int count = 0;                       // buttons used in [buttons], left to right
  std::array<BoxButton, 3> buttons{};
  Answer defaultAnswer = Answer::Ok;   // what Return answers
  Answer closeAnswer = Answer::Ok;     // what Escape or closing the box answers
};

// The layout of [buttons] with [defaultButton] (0 = first) as the default; a number past the
// last button, or a negative one, makes the first button the default, as Windows does.
BoxLayout layoutButtons(Buttons buttons, int defaultButton);

// One line describing a box that could not be shown: "caption: text [OK/Cancel] -> Cancel".
// [utf8Text] line breaks become spaces.
std::string describeUnshownBox(const std::string& utf8Caption, const std::string& utf8Text,
                               const BoxLayout& layout, Answer answer);

}  // namespace kelvox::platform::sdl
