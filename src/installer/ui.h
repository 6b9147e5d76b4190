// The installer's user interface as the logic sees it: message boxes, the install wizard and
// the uninstall dialog. Implementations: the GTK wizard (ui_gtk), the terminal (ui_text, also
// the unattended run), and the tests' scripted one. The logic never knows which it talks to.
#pragma once

#include <string>

#include "platform/dialogs.h"

namespace kelvox::installer {

class Wizard;
class UninstallDialog;

// The same buttons and answers as the engine's message boxes.
using platform::Answer;
using platform::Buttons;
enum class Icon { Error, Question, Information, Warning };

struct MessageBox {
  std::string text;
  std::string caption;  // "" for the system's default caption
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::Error;
};

enum class WizardOutcome { Finished, Cancelled };

class Ui {
 public:
  virtual ~Ui() = default;
  // Shows [box] modally and returns the button chosen; closing the box without a choice is
  // Cancel when the box has one, else No, else Ok.
  virtual Answer message(const MessageBox& box) = 0;
  // Runs the three wizard pages over [wizard] until the user finishes or cancels.
  virtual WizardOutcome runWizard(Wizard& wizard) = 0;
  // Shows the uninstall progress dialog, runs the removal in it and waits for "終了".
  virtual void runUninstallDialog(UninstallDialog& dialog) = 0;
};

}  // namespace kelvox::installer
