// The install wizard's logic, shared by the GTK and terminal front ends: the three pages'
// texts and initial states, what Next does on each, and the progress steps. The front ends
// only show pages and pass on what the user did.
#pragma once

#include <optional>
#include <string>

#include "installer/installation.h"

namespace kelvox::installer {

enum class WizardPage { Destination, Options, Progress };

// Choices made on the command line: the destination field's text and the options page's
// boxes to start from, and whether Finish starts the game.
struct WizardSettings {
  std::optional<std::string> folder;
  std::optional<bool> startMenu;
  std::optional<bool> desktop;
  bool startAtFinish = true;
};

class Wizard {
 public:
  Wizard(RunState& state, Services& services, Ui& ui, const WizardSettings& settings);

  std::string caption() const;  // title + "のインストール"
  std::string prompt() const;   // title + "のインストール先を指定してください"

  // Destination page: the field's text whenever the page becomes active, and Next.
  std::string folderField() const { return state_.installationFolder; }
  std::string browseStart() const { return services_.folders.home; }  // the "drive root"
  std::optional<WizardPage> nextFromDestination(const std::string& field);

  // Options page: initial states of its boxes, whether the desktop box is usable (not on the
  // old shell), and Next.
  bool startMenuChecked() const { return startMenu_; }
  bool desktopChecked() const { return desktop_ && desktopEnabled(); }
  bool desktopEnabled() const { return services_.newShell; }
  void acceptOptions(bool startMenu, bool desktop);

  // Progress page.
  Installation& installation() { return installation_; }
  std::string finishedText() const;
  bool showRemovalHint() const { return services_.newShell; }

  // Finish: starts the game unless the command line said not to.
  void finish();
  bool hadErrors() const { return installation_.hadErrors(); }

 private:
  RunState& state_;
  Services& services_;
  Ui& ui_;
  Installation installation_;
  bool startMenu_;
  bool desktop_;
  bool startAtFinish_;
};

}  // namespace kelvox::installer
