// Terminal output of the installer: control characters and bytes that are not UTF-8 from the
// setup file or a path never reach the terminal as they are.
#include <gtest/gtest.h>

#include <sstream>

#include "installer/app.h"
#include "installer/terminal_text.h"
#include "installer/ui_text.h"
#include "sample_distribution.h"
#include "support.h"

namespace kelvox::installer {
namespace {

TEST(TerminalText, ControlsAndBrokenBytesBecomeVisibleEscapes) {
  const std::pair<std::string, std::string> cases[] = {
      {"サンプル", "サンプル"},
      {"a\x1B[2Jb", "a\\x1B[2Jb"},           // ESC: clear the screen
      {"bell\a", "bell\\x07"},
      {"line\nbreak\r\t", "line\\nbreak\\r\\t"},
      {"del\x7F", "del\\x7F"},
      {"csi\xC2\x9B" "31m", "csi\\u009B31m"},  // C1 CSI in UTF-8
      {"nbsp\xC2\xA0", "nbsp\xC2\xA0"},        // U+00A0 is printable
      {"raw\x9B", "raw\\x9B"},                  // a lone C1 byte, not UTF-8
      {"cut\xE3\x82", "cut\\xE3\\x82"},
      {"overlong\xC0\xAF", "overlong\\xC0\\xAF"},
      {"surrogate\xED\xA0\x80", "surrogate\\xED\\xA0\\x80"},
      {std::string("nul\0x", 5), "nul\\x00x"},
      {"C:\\Soft", "C:\\Soft"},                 // backslashes stay: the messages use them
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(terminalText(in), out) << in;
}

class TerminalOutputTest : public test::TempHomeTest {};

TEST_F(TerminalOutputTest, TitleAndPathsFromTheSetupFileAreEscaped) {
  test::TestServices s;
  s.files.freeSpace = uint64_t(1) << 40;
  std::string config = test::sampleConfig();
  const std::string title = "Title=サンプル";
  config.replace(config.find(title), title.size(), "Title=\x1B]0;pwned\x07サンプル");
  test::SampleDistribution d = test::makeSampleDistribution(root + "dist/", home, config);
  std::istringstream in;
  std::ostringstream out, err;
  TextUi ui(in, out, err, true, false);
  CommandLine cl;
  cl.options.yes = true;
  cl.options.noStart = true;
  cl.options.folder = home + "Games/a\x1B[31m";
  EXPECT_EQ(runProgram(cl, d.installer, s.get(), ui), kExitCancelled);
  std::string all = out.str() + err.str();
  EXPECT_EQ(all.find('\x1B'), std::string::npos);
  EXPECT_EQ(all.find('\x07'), std::string::npos);
  EXPECT_NE(out.str().find("== \\x1B]0;pwned\\x07サンプルのインストール =="), std::string::npos);
  EXPECT_NE(err.str().find("[エラー] " + home + "Games/a\\x1B[31m/ - このフォルダ名ではゲームを起動するショートカットが作れません。"),
            std::string::npos);
}

}  // namespace
}  // namespace kelvox::installer
