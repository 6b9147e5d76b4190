// Terminal prompts for the wizard, the message boxes and the uninstall dialog.
#include "installer/ui_text.h"

#include <algorithm>
#include <istream>
#include <optional>
#include <ostream>

#include "installer/messages.h"
#include "installer/terminal_text.h"
#include "installer/uninstall.h"
#include "installer/wizard.h"

namespace kelvox::installer {
namespace {

constexpr int kBarWidth = 40;  // characters

std::string choices(Buttons b) {
  switch (b) {
    case Buttons::Ok: return "";
    case Buttons::OkCancel: return "OK(o)/キャンセル(c)";
    case Buttons::YesNo: return "はい(y)/いいえ(n)";
    case Buttons::YesNoCancel: return "はい(y)/いいえ(n)/キャンセル(c)";
  }
  return "";
}

std::string answerText(Answer a) {
  switch (a) {
    case Answer::Ok: return "OK";
    case Answer::Cancel: return "キャンセル";
    case Answer::Yes: return "はい";
    case Answer::No: return "いいえ";
  }
  return "";
}

// What closing the box without a choice means.
Answer closedAnswer(Buttons b) {
  switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::Cancel;
  }
  return Answer::Ok;
}

std::optional<Answer> parseAnswer(Buttons b, const std::string& line) {
  char c = line.empty() ? '\0' : static_cast<char>(line[0] | 0x20);
  bool ok = b == Buttons::OkCancel, yesNo = b == Buttons::YesNo || b == Buttons::YesNoCancel;
  if (ok && c == 'o') return Answer::Ok;
  if (yesNo && c == 'y') return Answer::Yes;
  if (yesNo && c == 'n') return Answer::No;
  if ((ok || b == Buttons::YesNoCancel) && c == 'c') return Answer::Cancel;
  return std::nullopt;
}

}  // namespace

TextUi::TextUi(std::istream& in, std::ostream& out, std::ostream& err, bool unattended, bool drawProgress)
    : in_(in), out_(out), err_(err), unattended_(unattended), drawProgress_(drawProgress) {}

bool TextUi::readLine(std::string& line) {
  out_.flush();
  if (!std::getline(in_, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

Answer TextUi::message(const MessageBox& box) {
  std::ostream& s = box.icon == Icon::Error ? err_ : out_;
  // Captions and texts carry titles and paths from the setup file: escaped for the terminal.
  s << "[" << terminalText(box.caption.empty() ? text::kDefaultCaption : box.caption) << "] " << terminalText(box.text);
  // Flushed at once: an uninstaller copy started next writes to the same terminal.
  if (box.buttons == Buttons::Ok) {
    s << std::endl;
    return Answer::Ok;
  }
  if (unattended_) {
    Answer a = box.buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    s << " → " << answerText(a) << std::endl;
    return a;
  }
  s << "\n";
  while (true) {
    out_ << choices(box.buttons) << "? ";
    std::string line;
    if (!readLine(line)) {
      out_ << "\n";
      return closedAnswer(box.buttons);
    }
    if (std::optional<Answer> a = parseAnswer(box.buttons, line)) return *a;
  }
}

std::optional<bool> TextUi::askYesNo(const std::string& question, bool defaultYes) {
  while (true) {
    out_ << question << (defaultYes ? " [Y/n] " : " [y/N] ");
    std::string line;
    if (!readLine(line)) return std::nullopt;
    if (line.empty()) return defaultYes;
    char c = static_cast<char>(line[0] | 0x20);
    if (c == 'y') return true;
    if (c == 'n') return false;
  }
}

void TextUi::drawBar(int done, int total) {
  if (!drawProgress_ || total <= 0) return;
  int filled = done * kBarWidth / total;
  out_ << "\r[" << std::string(static_cast<size_t>(filled), '#') << std::string(static_cast<size_t>(kBarWidth - filled), '.')
       << "] " << done << "/" << total << std::flush;
}

WizardOutcome TextUi::runWizard(Wizard& wizard) {
  out_ << "== " << terminalText(wizard.caption()) << " ==\n";
  std::optional<WizardPage> next;
  while (!next) {
    out_ << text::kNoteLabel << text::kNote << "\n" << terminalText(wizard.prompt()) << "\n";
    std::string field = wizard.folderField();
    if (unattended_) {
      out_ << terminalText(field) << "\n";
    } else {
      out_ << "[" << terminalText(field) << "] ";
      std::string line;
      if (!readLine(line)) return WizardOutcome::Cancelled;
      if (!line.empty()) field = line;
    }
    next = wizard.nextFromDestination(field);
    if (!next && unattended_) return WizardOutcome::Cancelled;  // nobody to correct the field
  }

  if (*next == WizardPage::Options) {
    bool startMenu = wizard.startMenuChecked(), desktop = wizard.desktopChecked();
    if (!unattended_) {
      std::optional<bool> a = askYesNo(text::kStartMenuCheck, startMenu);
      if (!a) return WizardOutcome::Cancelled;
      startMenu = *a;
      if (wizard.desktopEnabled()) {
        a = askYesNo(text::kDesktopCheck, desktop);
        if (!a) return WizardOutcome::Cancelled;
        desktop = *a;
      }
    }
    wizard.acceptOptions(startMenu, desktop);
  }

  // From here on nothing can be cancelled, as on the progress page.
  out_ << text::kCopying << "\n";
  Installation& installation = wizard.installation();
  for (int step = 0; step < installation.stepCount(); ++step) {
    installation.runStep(step);
    drawBar(std::min(step + 1, installation.progressMaximum()), installation.progressMaximum());
  }
  if (drawProgress_) out_ << "\n";
  out_ << wizard.finishedText() << "\n";
  if (wizard.showRemovalHint()) out_ << text::kRemovalHint << "\n";
  if (!unattended_) {
    out_ << "[完了: Enter] ";
    std::string line;
    readLine(line);
  }
  wizard.finish();
  return WizardOutcome::Finished;
}

void TextUi::runUninstallDialog(UninstallDialog& dialog) {
  out_ << "== " << terminalText(dialog.caption()) << " ==\n" << dialog.initialText() << "\n";
  out_ << terminalText(dialog.run()) << "\n";
  if (!unattended_) {
    out_ << "[" << dialog.closeButton() << ": Enter] ";
    std::string line;
    readLine(line);
  }
}

}  // namespace kelvox::installer
