// The error box shown by every handling point.
#include "shell/error_box.h"

namespace kelvox::shell {

void showAppError(platform::Dialogs& dialogs, const common::AppError& error) {
  bool warning = dynamic_cast<const common::AppWarning*>(&error) != nullptr;
  dialogs.messageBox(error.displayText(), kAppTitle, platform::Buttons::Ok,
                     warning ? platform::Icon::Warning : platform::Icon::Stop);
}

}  // namespace kelvox::shell
