// Message boxes without a display: each box takes the next answer from a queue (OK when the
// queue is empty), fitted to the box's buttons, and is printed as one line:
//   [messagebox] caption=<caption> text=<text> answer=<OK|Cancel|Yes|No>
// in UTF-8, with line breaks written as \n and other control characters escaped (\x1B, \u009B). Tests read the boxes back from shown() (the most
// recent kKeptRecords at least).
#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace kelvox::platform {

class HeadlessDialogs final : public Dialogs {
 public:
  struct Shown {
    std::string text;     // Shift-JIS, as given
    std::string caption;  // Shift-JIS
    Buttons buttons;
    Icon icon;
    Answer answer;
  };

  // [out] receives the printed lines; nullptr prints nothing.
  explicit HeadlessDialogs(std::ostream* out = nullptr) : out_(out) {}

  Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons, Icon icon,
                    int defaultButton) override;

  void queueAnswer(Answer answer) { answers_.push_back(answer); }
  const std::vector<Shown>& shown() const { return shown_; }

  // The printed line of one box.
  static std::string formatLine(const std::string& sjisCaption, const std::string& sjisText, Answer answer);

 private:
  std::ostream* out_;
  std::deque<Answer> answers_;
  std::vector<Shown> shown_;
};

}  // namespace kelvox::platform
