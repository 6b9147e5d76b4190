// The setup configuration's sections, read limits and entry syntax.
#include <gtest/gtest.h>

#include "installer/setup_config.h"
#include "support.h"

namespace kelvox::installer {
namespace {

using platform::Profile;
using platform::installer::RootKey;

std::optional<SetupConfig> readText(const std::string& text) { return readSetupConfig(Profile::parse(text)); }

struct FileCase {
  const char* name;
  std::string value;
  std::string source;
  FileBase base;
  std::string destination;
};

TEST(FileEntrySyntax, SplitsSourceFolderLetterAndDestination) {
  const FileCase cases[] = {
      {"source alone", "Kelvox", "Kelvox", FileBase::Installation, "Kelvox"},
      {"destination", "a.dat,Data\\b.dat", "a.dat", FileBase::Installation, "Data\\b.dat"},
      {"upper W", "a.bin,W!a.bin", "a.bin", FileBase::Windows, "a.bin"},
      {"lower w", "a.bin,w!b.bin", "a.bin", FileBase::Windows, "b.bin"},
      {"S is the system folder", "x.dll,S!x.dll", "x.dll", FileBase::System, "x.dll"},
      {"any other letter too", "x.dll,Q!y.dll", "x.dll", FileBase::System, "y.dll"},
      {"'!' first is no letter", "x,!y", "x", FileBase::Installation, "!y"},
      {"'!' third is no letter", "x,Wx!y", "x", FileBase::Installation, "Wx!y"},
      {"one character after comma", "x,W", "x", FileBase::Installation, "W"},
      {"second comma belongs to destination", "a,b,c", "a", FileBase::Installation, "b,c"},
      // 表 is 0x95 0x5C: its trail byte looks like '\' but the comma after it still counts.
      {"double-byte source", "\x95\x5C,x", "\x95\x5C", FileBase::Installation, "x"},
      // A lead byte swallows the next byte whatever it is, so this comma is not one.
      {"comma as trail byte", "a\x81,b", "a\x81,b", FileBase::Installation, "a\x81,b"},
  };
  for (const auto& c : cases) {
    FileSpec spec = splitFileEntry(c.value);
    EXPECT_EQ(spec.source, c.source) << c.name;
    EXPECT_EQ(spec.base, c.base) << c.name;
    EXPECT_EQ(spec.destination, c.destination) << c.name;
  }
}

TEST(GroupEntrySyntax, SplitsCaptionTargetAndArguments) {
  struct Case {
    std::string value;
    bool valid;
    std::string caption, target, arguments;
  } cases[] = {
      {"Play,kelvox", true, "Play", "kelvox", ""},
      {"Remove,installer,/r", true, "Remove", "installer", "/r"},
      {"A,b,c,d", true, "A", "b", "c,d"},
      {"NoComma", false, "", "", ""},
      {"", false, "", "", ""},
      {"a\x81,b", false, "", "", ""},
  };
  for (const auto& c : cases) {
    std::optional<GroupSpec> spec = splitGroupEntry(c.value);
    ASSERT_EQ(spec.has_value(), c.valid) << c.value;
    if (!spec) continue;
    EXPECT_EQ(spec->caption, c.caption);
    EXPECT_EQ(spec->target, c.target);
    EXPECT_EQ(spec->arguments, c.arguments);
  }
}

TEST(RegEntrySyntax, NeedsAnExactRootAndASubkey) {
  struct Case {
    std::string value;
    bool valid;
    RootKey root;
    std::string subkey;
  } cases[] = {
      {"HKEY_CURRENT_USER\\Software\\A", true, RootKey::CurrentUser, "Software\\A"},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\B", true, RootKey::LocalMachine, "SOFTWARE\\B"},
      {"HKEY_CLASSES_ROOT\\.kvx", true, RootKey::ClassesRoot, ".kvx"},
      {"HKEY_CURRENT_USERXSoftware", true, RootKey::CurrentUser, "Software"},  // any one character
      {"hkey_current_user\\Software", false, RootKey::CurrentUser, ""},         // case matters
      {"HKEY_USERS\\x", false, RootKey::CurrentUser, ""},
      {"HKEY_CURRENT_USER", false, RootKey::CurrentUser, ""},    // would read past the text
      {"HKEY_CURRENT_USER\\", false, RootKey::CurrentUser, ""},  // would name the whole root
  };
  for (const auto& c : cases) {
    std::optional<RegSpec> spec = splitRegEntry(c.value);
    ASSERT_EQ(spec.has_value(), c.valid) << c.value;
    if (!spec) continue;
    EXPECT_EQ(spec->root, c.root) << c.value;
    EXPECT_EQ(spec->subkey, c.subkey) << c.value;
  }
}

TEST(SetupConfigReading, NumberedListsEndAtTheFirstGap) {
  auto c = readText("[Install]\nTitle=T\nFolder=F\n1=a\n2=b\n4=d\n[Reg]\n1=HKEY_CURRENT_USER\\A\n3=x\n");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->files, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(c->regKeys, (std::vector<std::string>{"HKEY_CURRENT_USER\\A"}));
}

TEST(SetupConfigReading, EmptyEntryEndsTheList) {
  auto c = readText("[Install]\nTitle=T\nFolder=F\n1=a\n2=\n3=c\n");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->files, (std::vector<std::string>{"a"}));
}

TEST(SetupConfigReading, GroupEntryWithoutCommaEndsTheGroupList) {
  auto c = readText("[Install]\nTitle=T\nFolder=F\n[Group]\n1=Play,kelvox\n2=Readme\n3=Remove,installer,/r\n");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->groups, (std::vector<std::string>{"Play,kelvox"}));
}

TEST(SetupConfigReading, ValuesAreCutToTheOriginalBuffers) {
  std::string longTitle(120, 'T'), longEntry(300, 'e');
  auto c = readText("[Install]\nTitle=" + longTitle + "\nFolder=" + longTitle + "\nTSR=1" + std::string(20, 'x') +
                    "\n1=" + longEntry + "\nOpen=" + longEntry + "\n");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->title, std::string(99, 'T'));
  EXPECT_EQ(c->folder, std::string(99, 'T'));
  EXPECT_TRUE(c->resident);
  EXPECT_EQ(c->files.at(0), std::string(259, 'e'));
  EXPECT_EQ(c->open, std::string(259, 'e'));
}

TEST(SetupConfigReading, TitleAndFolderAreRequired) {
  EXPECT_FALSE(readText(""));
  EXPECT_FALSE(readText("[Install]\nFolder=F\n"));
  EXPECT_FALSE(readText("[Install]\nTitle=T\n"));
  EXPECT_FALSE(readText("[Install]\nTitle=\nFolder=F\n"));
  EXPECT_TRUE(readText("[install]\ntitle=T\nFOLDER=F\n"));  // names ignore case
}

TEST(SetupConfigReading, OnlyALeadingOneMakesAResidentProgram) {
  const std::pair<std::string, bool> cases[] = {{"1", true}, {"1x", true}, {"01", false}, {"2", false}, {"", false}};
  for (const auto& [value, resident] : cases) {
    auto c = readText("[Install]\nTitle=T\nFolder=F\nTSR=" + value + "\n");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->resident, resident) << value;
  }
}

TEST(SetupConfigReading, ValueEndsAtANulByte) {
  auto c = readText(std::string("[Install]\nTitle=T\nFolder=F\n1=ab\0cd\n", 33));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->files.at(0), "ab");
}

TEST(SectionIndex, FindsWhatTheProfileReaderFinds) {
  Profile p = Profile::parse(
      "[S]\n1=first\n1=second\n  2  =  spaced  \n3=\"quoted\"\n4='single'\n5=\"unclosed\nKey=x\n"
      ";6=comment\n7=" + std::string(300, 'v') + "\n[s]\n8=later section\n");
  SectionIndex index(p, "S");
  for (const char* key : {"1", "2", "3", "4", "5", "key", "KEY", "6", "7", "8", "9"}) {
    for (size_t buffer : {size_t(0), size_t(1), size_t(5), kEntryBuffer})
      EXPECT_EQ(index.get(key, buffer), p.getString("S", key, "", buffer)) << key << " " << buffer;
  }
}

}  // namespace
}  // namespace kelvox::installer
