// Text bound for a terminal (standard output of a headless run, standard error) must not carry
// commands for it: a game string or a path with ESC or BEL in it could otherwise move the
// cursor, retitle the terminal or worse.
#pragma once

#include <string>
#include <string_view>

namespace kelvox::platform {

// [utf8] with every control character written out: C0 controls (0x00 to 0x1F) and DEL as
// \xHH, the C1 controls U+0080 to U+009F as \u00HH, and bytes that are not valid UTF-8 as
// \xHH. Everything else, backslashes included, stays as it is, so a text without controls
// comes back unchanged. Line breaks are controls too: callers that show them as "\n" turn
// them into that first.
std::string escapeControls(std::string_view utf8);

}  // namespace kelvox::platform
