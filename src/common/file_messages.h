// The engine's own words for a file it could not read, so the player never sees a library's
// English message. Used by the script loader, Kelvox.ini and Save\Sys.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace kelvox::common {

// "ファイル NAME を開けませんでした (REASON)" in Shift-JIS, with [sjisName] as NAME and REASON
// in Japanese for the kinds the player can act on (not a file, too large) and the system's
// detail otherwise.
std::string unreadableFileText(std::string_view sjisName, const platform::ReadFailure& failure);

}  // namespace kelvox::common
