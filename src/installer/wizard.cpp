// The install wizard's page logic.
#include "installer/wizard.h"

#include "installer/destination.h"
#include "installer/messages.h"

namespace kelvox::installer {

Wizard::Wizard(RunState& state, Services& services, Ui& ui, const WizardSettings& settings)
    : state_(state),
      services_(services),
      ui_(ui),
      installation_(state, services, ui),
      startMenu_(settings.startMenu.value_or(true)),
      desktop_(settings.desktop.value_or(false)),
      startAtFinish_(settings.startAtFinish) {
  if (settings.folder) state_.installationFolder = *settings.folder;
  state_.newShell = services.newShell;
}

std::string Wizard::caption() const { return state_.title + text::kWizardCaptionAfterTitle; }

std::string Wizard::prompt() const { return state_.title + text::kPromptAfterTitle; }

std::optional<WizardPage> Wizard::nextFromDestination(const std::string& field) {
  switch (acceptDestination(field, state_, services_, ui_)) {
    case DestinationResult::Stay: return std::nullopt;
    case DestinationResult::Options: return WizardPage::Options;
    case DestinationResult::Progress: return WizardPage::Progress;
  }
  return std::nullopt;
}

void Wizard::acceptOptions(bool startMenu, bool desktop) {
  startMenu_ = startMenu;
  desktop_ = desktop;
  state_.startMenu = startMenu;
  state_.desktop = desktop && desktopEnabled();
}

std::string Wizard::finishedText() const { return text::kInstalled; }

void Wizard::finish() {
  if (startAtFinish_) installation_.finish();
}

}  // namespace kelvox::installer
