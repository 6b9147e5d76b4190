// The command line: the original's mode letters and the options of the Linux program.
#include <gtest/gtest.h>

#include "installer/command_line.h"

namespace kelvox::installer {
namespace {

TEST(CommandLine, FirstLetterChoosesTheMode) {
  struct Case {
    std::vector<std::string> args;
    Mode mode;
    std::string copyOf;
    bool error;
  } cases[] = {
      {{}, Mode::Wizard, "", false},
      {{"/r"}, Mode::UninstallRequest, "", false},
      {{"/R"}, Mode::UninstallRequest, "", false},
      {{"r"}, Mode::UninstallRequest, "", false},
      {{"/remove"}, Mode::UninstallRequest, "", true},    // whole words only
      {{"repair"}, Mode::UninstallRequest, "", true},
      {{"/r", "/home/u/Downloads"}, Mode::UninstallRequest, "", true},  // a stray path
      {{"x", "/a/b/installer"}, Mode::UninstallerCopy, "/a/b/installer", false},
      {{"x", "/My Games/a \"b\"\n%"}, Mode::UninstallerCopy, "/My Games/a \"b\"\n%", false},
      {{"x", "/My Games/a", "b"}, Mode::UninstallerCopy, "", true},  // one path, never rejoined
      {{"/x", "/a/installer"}, Mode::UninstallerCopy, "/a/installer", false},
      {{"x"}, Mode::UninstallerCopy, "", true},
      {{"x", "relative/installer"}, Mode::UninstallerCopy, "", true},
      {{"xy"}, Mode::UninstallerCopy, "", true},
      {{"X", "/a"}, Mode::Wizard, "", true},  // only a lower-case x
      {{"other"}, Mode::Wizard, "", true},
      {{"/home/u/Downloads/installer.inf"}, Mode::Wizard, "", true},
      {{"--list"}, Mode::List, "", false},
      {{"/r", "--help"}, Mode::Help, "", false},
      {{"-r"}, Mode::Wizard, "", true},  // an unknown option never starts an installation
      {{"--folder"}, Mode::Wizard, "", true},
  };
  for (const auto& c : cases) {
    CommandLine cl = parseCommandLine(c.args);
    std::string shown = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(!cl.error.empty(), c.error) << shown;
    if (c.error) continue;
    EXPECT_EQ(cl.mode, c.mode) << shown;
    EXPECT_EQ(cl.copyOf, c.copyOf) << shown;
  }
}

TEST(CommandLine, OptionsAreReadAndHandedOnToTheCopy) {
  CommandLine cl = parseCommandLine({"--folder", "/g/s", "--yes", "--text", "--no-start", "--no-start-menu",
                                     "--desktop", "/r"});
  ASSERT_EQ(cl.error, "");
  EXPECT_EQ(cl.mode, Mode::UninstallRequest);
  EXPECT_EQ(cl.options.folder, "/g/s");
  EXPECT_TRUE(cl.options.yes && cl.options.text && cl.options.noStart);
  EXPECT_EQ(cl.options.startMenu, false);
  EXPECT_EQ(cl.options.desktop, true);
  EXPECT_EQ(optionsForCopy(cl.options), (std::vector<std::string>{"--text", "--yes"}));
  EXPECT_EQ(parseCommandLine({"--folder=/a b"}).options.folder, "/a b");
  EXPECT_FALSE(parseCommandLine({}).options.startMenu.has_value());
}

}  // namespace
}  // namespace kelvox::installer
