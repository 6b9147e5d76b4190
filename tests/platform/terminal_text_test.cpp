// Control characters written out for terminal output; everything else unchanged.
#include <gtest/gtest.h>

#include "platform/headless/headless_dialogs.h"
#include "platform/terminal_text.h"
#include "platform/text_encoding.h"

namespace kelvox::platform {
namespace {

TEST(TerminalText, ControlsAreWrittenOutAndTheRestIsKept) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"plain text", "plain text"},
      {"\x1b]0;title\x07", "\\x1B]0;title\\x07"},  // ESC and BEL (a terminal title sequence)
      {"tab\there", "tab\\x09here"},
      {std::string("nul\0end", 7), "nul\\x00end"},
      {"del\x7f", "del\\x7F"},
      {"\xc2\x9b" "31m", "\\u009B31m"},             // C1 CSI as UTF-8
      {"\xc2\xa0nbsp", "\xc2\xa0nbsp"},             // U+00A0 is printable
      {"こんにちは C:\\Save\\Sys", "こんにちは C:\\Save\\Sys"},  // backslashes stay
      {"bad \x9b byte", "bad \\x9B byte"},           // not UTF-8: a raw 8-bit CSI
      {"cut \xe3\x81", "cut \\xE3\\x81"},
  };
  for (const auto& c : cases) EXPECT_EQ(escapeControls(c.in), c.out) << c.out;
}

TEST(TerminalText, HeadlessBoxesKeepTheNewlineFormAndEscapeTheRest) {
  std::string line = HeadlessDialogs::formatLine(toSjis("Zarveth"), toSjis("一\r\n二\x1b[2J\n三\x07"), Answer::Ok);
  EXPECT_EQ(line, "[messagebox] caption=Zarveth text=一\\n二\\x1B[2J\\n三\\x07 answer=OK");
}

}  // namespace
}  // namespace kelvox::platform
