// Desktop Entry texts: Exec quoting read back by the Desktop Entry rules, and the files
// checked by desktop-file-validate where it is installed. The validator misses some faults
// (an unquoted space in Exec splits the path, a lone '%' is read as a field code), so the
// read-back here checks those itself.
#include <gtest/gtest.h>

#include "platform/installer/desktop_entry.h"
#include "desktop_check.h"
#include "support.h"

namespace kelvox::platform::installer {
namespace {

using kelvox::installer::test::desktopKey;
using kelvox::installer::test::readExec;
using kelvox::installer::test::unescapeDesktopString;
using kelvox::installer::test::validateDesktopFile;

const std::vector<std::vector<std::string>> kArgumentCases = {
    {"/home/u/Games/Sample/kelvox"},
    {"/home/u/My Games/Sample/kelvox"},            // space in the path
    {"/home/u/Games/100%/kelvox", "50%"},          // literal percent
    {"/home/u/Games/$HOME`x`/kelvox"},             // shell characters
    {"/home/u/Games/a\\b\"c/kelvox", ""},          // backslash, quote, empty argument
    {"/home/u/ゲーム/サンプル/kelvox", "/r", "two words"},
    {"/home/u/Games/it's/kelvox", "a;b", "#c", "(d)", "~e", "*?"},
};

TEST(DesktopEntryExec, ArgumentsReadBackExactly) {
  for (const auto& args : kArgumentCases) {
    DesktopEntry e{"Name", "", args, "/w/", ""};
    std::string text = desktopEntryText(e);
    std::optional<std::vector<std::string>> back = readExec(unescapeDesktopString(desktopKey(text, "Exec")));
    ASSERT_TRUE(back) << desktopKey(text, "Exec");
    EXPECT_EQ(*back, args) << desktopKey(text, "Exec");
  }
}

TEST(DesktopEntryExec, ReadBackCatchesWhatTheValidatorMisses) {
  // The faults the quoting exists to prevent, as the read-back sees them.
  EXPECT_EQ(readExec("/home/u/My Games/kelvox")->size(), 2u);  // one path became two words
  EXPECT_FALSE(readExec("/home/u/100%/kelvox"));               // '%' not written "%%"
  EXPECT_FALSE(readExec("\"/a/$x\""));                         // '$' not escaped in quotes
}

TEST(DesktopEntryText, StringValuesEscapeControlCharactersAndLeadingSpace) {
  EXPECT_EQ(desktopStringValue(" a\\b\nc\td\re\x01"), "\\sa\\\\b\\nc\\td\\re");
  DesktopEntry same{"Title", "Title", {"/x"}, "", ""};
  EXPECT_EQ(desktopEntryText(same).find("Comment="), std::string::npos);  // identical to Name: left out
  DesktopEntry other{"Title", "Description", {"/x"}, "", "Game;"};
  EXPECT_EQ(desktopKey(desktopEntryText(other), "Comment"), "Description");
  EXPECT_EQ(desktopKey(desktopEntryText(other), "Categories"), "Game;");
}

TEST(DesktopEntryText, MenuFilesNameTheirEntries) {
  std::string menu = mergedMenuText("kelvox-A&B", "kelvox-A&B.directory", {"A&B-Play.desktop"});
  EXPECT_NE(menu.find("<Name>kelvox-A&amp;B</Name>"), std::string::npos);
  EXPECT_NE(menu.find("<Directory>kelvox-A&amp;B.directory</Directory>"), std::string::npos);
  EXPECT_NE(menu.find("<Filename>A&amp;B-Play.desktop</Filename>"), std::string::npos);
  EXPECT_EQ(desktopFileId("Sample/Play.desktop"), "Sample-Play.desktop");
}

class DesktopEntryFiles : public kelvox::installer::test::TempHomeTest {};

TEST_F(DesktopEntryFiles, GeneratedEntriesPassTheValidator) {
  if (!validateDesktopFile("/dev/null")) GTEST_SKIP() << "desktop-file-validate is not installed";
  int n = 0;
  for (const auto& args : kArgumentCases) {
    std::string file = root + "entry" + std::to_string(n++) + ".desktop";
    kelvox::installer::test::writeFile(file, desktopEntryText({"サンプル ゲーム", "説明", args, "/home/u/My Games/", "Game;"}));
    auto [status, output] = *validateDesktopFile(file);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "") << output;
  }
  std::string dir = root + "kelvox-x.directory";
  kelvox::installer::test::writeFile(dir, desktopDirectoryText("サンプル"));
  auto [status, output] = *validateDesktopFile(dir);
  EXPECT_EQ(status, 0) << output;
}

}  // namespace
}  // namespace kelvox::platform::installer
