// The terminal front end: the wizard's pages as prompts, message boxes as lines (errors on the
// error stream), and a progress bar drawn in place on a terminal. Unattended, it asks nothing:
// every box is printed and answered OK or Yes, the destination is the field's text and the
// options keep their initial states.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "installer/ui.h"

namespace kelvox::installer {

class TextUi : public Ui {
 public:
  // [drawProgress] redraws the bar in place (for a terminal).
  TextUi(std::istream& in, std::ostream& out, std::ostream& err, bool unattended, bool drawProgress);

  Answer message(const MessageBox& box) override;
  WizardOutcome runWizard(Wizard& wizard) override;
  void runUninstallDialog(UninstallDialog& dialog) override;

 private:
  // One line of input; false at the end of input.
  bool readLine(std::string& line);
  // Asks a yes/no question with a default; nullopt at the end of input.
  std::optional<bool> askYesNo(const std::string& question, bool defaultYes);
  void drawBar(int done, int total);

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool unattended_;
  bool drawProgress_;
};

}  // namespace kelvox::installer
