// Text from the setup file, the registry or the file system made safe for a terminal: control
// characters (ESC, BEL, …, also the C1 range) and bytes that are not UTF-8 are written as
// visible escapes, so that a setup file or a folder name cannot drive the user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace kelvox::installer {

// [text] with '\n', '\r' and '\t' as "\n", "\r", "\t", other C0 controls, DEL and bytes outside
// valid UTF-8 as "\xNN", and C1 controls (U+0080 … U+009F) as "\u0080" … "\u009F". Everything
// else, Japanese included, is kept as it is.
std::string terminalText(std::string_view text);

}  // namespace kelvox::installer
