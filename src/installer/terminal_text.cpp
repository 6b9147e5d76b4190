// Escaping for the installer's terminal output: line breaks and tabs in the short form the
// terminal front end has always shown, every other control through the engine's own escaping.
#include "installer/terminal_text.h"

#include "platform/terminal_text.h"

namespace kelvox::installer {

std::string terminalText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    if (c == '\n') shown += "\\n";
    else if (c == '\r') shown += "\\r";
    else if (c == '\t') shown += "\\t";
    else shown += c;
  }
  return platform::escapeControls(shown);
}

}  // namespace kelvox::installer
