// Scripted answers and one printed line per message box.
#include "platform/headless/headless_dialogs.h"

#include "platform/headless/bounded_record.h"
#include "platform/terminal_text.h"
#include "platform/text_encoding.h"

namespace kelvox::platform {

namespace {
std::string oneLine(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r') {
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      out += "\\n";
    } else if (utf8[i] == '\n') {
      out += "\\n";
    } else {
      out += utf8[i];
    }
  }
  return out;
}
}  // namespace

std::string HeadlessDialogs::formatLine(const std::string& sjisCaption, const std::string& sjisText, Answer answer) {
  // Line breaks become "\n" first; whatever control is left is escaped, so a game string
  // cannot drive the terminal that shows the run.
  return "[messagebox] caption=" + escapeControls(oneLine(sjisToUtf8(sjisCaption))) +
         " text=" + escapeControls(oneLine(sjisToUtf8(sjisText))) + " answer=" + answerName(answer);
}

Answer HeadlessDialogs::messageBox(const std::string& text, const std::string& caption, Buttons buttons, Icon icon,
                                   int) {
  Answer wanted = Answer::Ok;
  if (!answers_.empty()) {
    wanted = answers_.front();
    answers_.pop_front();
  }
  Answer answer = fitAnswer(wanted, buttons);
  appendBounded(shown_, Shown{text, caption, buttons, icon, answer});
  if (out_) *out_ << formatLine(caption, text, answer) << std::endl;
  return answer;
}

}  // namespace kelvox::platform
