// The error box shown by every handling point.
#include "shell/error_box.h"

namespace kelvox::shell {

void showAppError(platform::Dialogs& dialogs, const common::AppError& error) {
  dialogs.messageBox(error.displayText(), kAppTitle, platform::Buttons::Ok, platform::Icon::Stop);
}

}  // namespace kelvox::shell
