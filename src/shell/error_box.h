// Where errors end up: the application's error box, with the title as caption, an OK button
// and the stop icon. Every handling point (the message loop, window creation, the whole run,
// the system-file write at teardown) shows errors through here.
#pragma once

#include "common/fatal_error.h"
#include "platform/dialogs.h"

namespace kelvox::shell {

// The application title: window caption and caption of the engine's message boxes.
inline constexpr char kAppTitle[] = "Zarveth Ver1.10";

// Shows [error] in the error box; an AppWarning gets the warning icon instead of the stop icon.
void showAppError(platform::Dialogs& dialogs, const common::AppError& error);

}  // namespace kelvox::shell
