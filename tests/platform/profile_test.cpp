// Profile files with the Windows profile reader's rules.
#include <gtest/gtest.h>

#include "platform/profile.h"

namespace kelvox::platform {
namespace {

const char* kIni =
    "; comment\r\n"
    "[SearchPath]\r\n"
    "  Label = ZV01  \r\n"
    "Path=\"\\Data\\\"\r\n"
    "Path=second\r\n"
    "broken line\r\n"
    "[font]\n"
    "Name='ＭＳ 明朝'\n"
    "Empty=\n"
    "[SearchPath]\n"
    "Extra=ignored\n";

TEST(Profile, FirstMatchingSectionAndKeyWithoutRegardToCase) {
  auto p = Profile::parse(kIni);
  EXPECT_EQ(p.getString("searchpath", "LABEL", "x", 256), "ZV01");
  EXPECT_EQ(p.getString("SearchPath", "Path", "x", 256), "\\Data\\");  // quotes dropped, first key wins
  EXPECT_EQ(p.getString("FONT", "name", "x", 256), "ＭＳ 明朝");
  EXPECT_EQ(p.getString("SearchPath", "Extra", "dflt", 256), "dflt");  // only the first section counts
}

TEST(Profile, DefaultsAndBufferSizes) {
  auto p = Profile::parse(kIni);
  EXPECT_EQ(p.getString("Font", "Empty", "dflt", 256), "");  // present but empty is not missing
  EXPECT_EQ(p.getString("Font", "Missing", "dflt", 256), "dflt");
  EXPECT_EQ(p.getString("Nowhere", "Label", "", 256), "");
  EXPECT_EQ(p.getString("SearchPath", "Label", "", 3), "ZV");  // room for 2 bytes and the zero
  EXPECT_EQ(p.getString("SearchPath", "Label", "", 1), "");
  EXPECT_EQ(p.getString("SearchPath", "Label", "", 0), "");
}

TEST(Profile, SectionEntriesAndEditing) {
  auto p = Profile::parse("[Rename]\r\nNUL=C:\\A.EXE\r\nX=Y\r\n[Other]\r\nk=v\r\n");
  auto entries = p.sectionEntries("rename");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (Profile::Entry{"NUL", "C:\\A.EXE"}));
  p.setString("Other", "k", "w");
  p.setString("New", "a", "b");
  p.removeSection("Rename");
  EXPECT_EQ(p.text(), "[Other]\r\nk=w\r\n[New]\r\na=b\r\n");
}

TEST(Profile, GarbageNeverFails) {
  std::string junk = "[\n]]]\n=\n==x\n[a\nk=v\n\xFF\xFE\x00\x81";
  auto p = Profile::parse(junk);
  EXPECT_EQ(p.getString("a", "k", "", 256), "");
  EXPECT_EQ(Profile::load("/nonexistent/x.ini").getString("a", "b", "d", 256), "d");
}

}  // namespace
}  // namespace kelvox::platform
