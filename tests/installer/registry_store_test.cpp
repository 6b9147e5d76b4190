// The file-backed registry store and the uninstaller's tree deletion over it.
#include <gtest/gtest.h>

#include <filesystem>

#include "installer/app.h"
#include "installer/registry_tree.h"
#include "platform/installer/registry_file.h"
#include "platform/installer/registry_store.h"
#include "support.h"

namespace kelvox::installer {
namespace {

using platform::installer::RegistryStore;
using platform::installer::RootKey;

class RegistryTest : public test::TempHomeTest {
 protected:
  std::string file() { return root + "reg/registry.reg"; }
};

TEST_F(RegistryTest, KeysAndValuesSurviveInAFreshStore) {
  {
    RegistryStore r(file());
    ASSERT_TRUE(r.createKey(RootKey::CurrentUser, "Software\\Maker\\Game"));
    ASSERT_TRUE(r.setValue(RootKey::CurrentUser, "Software\\Maker\\Game", "Path", "C:\\x \"y\"\nz"));
  }
  RegistryStore r(file());
  EXPECT_TRUE(r.keyExists(RootKey::CurrentUser, "Software\\Maker"));  // parents were made
  EXPECT_EQ(r.queryValue(RootKey::CurrentUser, "SOFTWARE\\maker\\GAME", "path"), "C:\\x \"y\"\nz");
  EXPECT_FALSE(r.keyExists(RootKey::LocalMachine, "Software\\Maker"));  // roots are apart
}

TEST_F(RegistryTest, JapaneseNamesStayApartAndTheLettersAroundThemFold) {
  RegistryStore r(file());
  // ア and ヂ are 0x83 0x41 and 0x83 0x61 in Shift-JIS: a byte fold would make them one name.
  // The store holds UTF-8, where they differ and no byte of theirs is a letter.
  for (const char* key : {"Software\\ア", "Software\\ヂ", "Software\\ぁGame"})
    ASSERT_TRUE(r.createKey(RootKey::CurrentUser, key)) << key;
  ASSERT_TRUE(r.setValue(RootKey::CurrentUser, "Software\\ア", "Name", "a"));
  ASSERT_TRUE(r.setValue(RootKey::CurrentUser, "Software\\ヂ", "Name", "b"));
  EXPECT_EQ(r.queryValue(RootKey::CurrentUser, "Software\\ア", "Name"), "a");
  EXPECT_EQ(r.queryValue(RootKey::CurrentUser, "Software\\ヂ", "Name"), "b");
  // ぁ is E3 81 81 in UTF-8; read as Shift-JIS, 0x81 would swallow the letter after it.
  ASSERT_TRUE(r.setValue(RootKey::CurrentUser, "Software\\ぁGame", "Path", "x"));
  EXPECT_EQ(r.queryValue(RootKey::CurrentUser, "SOFTWARE\\ぁgame", "path"), "x");
}

TEST_F(RegistryTest, MalformedPathsNameNoKey) {
  RegistryStore r(file());
  for (const char* path : {"\\a", "a\\", "a\\\\b", "a\nb"}) {
    EXPECT_FALSE(r.createKey(RootKey::CurrentUser, path)) << path;
    EXPECT_FALSE(r.keyExists(RootKey::CurrentUser, path)) << path;
  }
  EXPECT_TRUE(r.keyExists(RootKey::CurrentUser, ""));
  EXPECT_FALSE(r.deleteKey(RootKey::CurrentUser, ""));  // a root cannot go
}

TEST_F(RegistryTest, KeyWithSubkeysCannotBeDeleted) {
  RegistryStore r(file());
  ASSERT_TRUE(r.createKey(RootKey::CurrentUser, "A\\B"));
  EXPECT_FALSE(r.deleteKey(RootKey::CurrentUser, "A"));
  EXPECT_TRUE(r.deleteKey(RootKey::CurrentUser, "A\\B"));
  EXPECT_TRUE(r.deleteKey(RootKey::CurrentUser, "A"));
  EXPECT_FALSE(r.deleteKey(RootKey::CurrentUser, "A"));
}

TEST_F(RegistryTest, SubkeysEnumerateInNameOrderIgnoringCase) {
  RegistryStore r(file());
  for (const char* name : {"b", "C", "a", "B2"}) ASSERT_TRUE(r.createKey(RootKey::ClassesRoot, std::string("K\\") + name));
  ASSERT_TRUE(r.createKey(RootKey::ClassesRoot, "K\\a\\deeper"));
  std::vector<std::string> names;
  for (size_t i = 0; auto n = r.enumKey(RootKey::ClassesRoot, "K", i); ++i) names.push_back(*n);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "B2", "C"}));
}

TEST_F(RegistryTest, DamagedLinesAreSkipped) {
  test::writeFile(file(),
                  "REGEDIT4\n\n[HKEY_CURRENT_USER\\Good]\n\"v\"=\"1\"\n\"broken=\"2\"\ngarbage\n\"w\"=\"unclosed\n"
                  "[\n[HKEY_CURRENT_USER\\Also]\n@=\"default\"\n");
  RegistryStore r(file());
  EXPECT_EQ(r.queryValue(RootKey::CurrentUser, "Good", "v"), "1");
  EXPECT_EQ(r.values(RootKey::CurrentUser, "Good").size(), 1u);
  EXPECT_EQ(r.queryValue(RootKey::CurrentUser, "Also", ""), "default");
}

TEST_F(RegistryTest, DamagedOrUnreadableStoreIsReportedAndNeverWritten) {
  using Kind = platform::installer::StoreProblem::Kind;
  struct Case {
    const char* name;
    std::string text;  // "" makes the store a folder
    Kind kind;
    size_t line;
  } cases[] = {
      {"folder", "", Kind::Unreadable, 0},
      {"garbage line", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\ngarbage\n", Kind::Damaged, 5},
      {"unclosed value", "[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"1\r\n", Kind::Damaged, 2},
      {"value before any key", "\"v\"=\"1\"\n[HKEY_CURRENT_USER\\A]\n", Kind::Damaged, 1},
      {"text after a value", "[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\" junk\n", Kind::Damaged, 2},
      {"text after a key", "[HKEY_CURRENT_USER\\A] junk\n", Kind::Damaged, 1},
      {"comment and CR LF are fine", "REGEDIT4\r\n; note\r\n[HKEY_CURRENT_USER\\A]\r\n@=\"d\"\r\n", Kind::None, 0},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(root + "reg");
    if (c.text.empty())
      std::filesystem::create_directories(file());
    else
      test::writeFile(file(), c.text);
    RegistryStore r(file());
    platform::installer::StoreProblem problem = r.problem();
    EXPECT_EQ(problem.kind, c.kind) << c.name;
    EXPECT_EQ(problem.line, c.line) << c.name;
    bool usable = c.kind == Kind::None;
    EXPECT_EQ(r.createKey(RootKey::CurrentUser, "B"), usable) << c.name;
    EXPECT_EQ(r.setValue(RootKey::CurrentUser, "A", "w", "2"), usable) << c.name;
    EXPECT_EQ(r.deleteKey(RootKey::CurrentUser, "A"), usable) << c.name;
    if (!usable && !c.text.empty()) {
      EXPECT_EQ(test::readFile(file()), c.text) << c.name;  // byte for byte
    }
  }
}

TEST_F(RegistryTest, LeftoverTemporaryLinkIsNotWrittenThrough) {
  test::writeFile(root + "sentinel", "mine");
  std::filesystem::create_directories(root + "reg");
  ASSERT_EQ(symlink((root + "sentinel").c_str(), (file() + ".new").c_str()), 0);
  RegistryStore r(file());
  EXPECT_TRUE(r.createKey(RootKey::CurrentUser, "A"));
  EXPECT_EQ(test::readFile(root + "sentinel"), "mine");
  EXPECT_TRUE(r.keyExists(RootKey::CurrentUser, "A"));
}

TEST_F(RegistryTest, StoreProblemsAreToldInTheUsersWords) {
  RegistryStore r(file());
  EXPECT_EQ(registryProblemText(r), "");  // not made yet: an empty store
  test::writeFile(file(), "[HKEY_CURRENT_USER\\A]\n\n\"broken\n");
  EXPECT_EQ(registryProblemText(r),
            file() + " の 3 行目が読み込めません。このファイルは変更していません。直すか別の場所に移してから、やり直してください。");
  std::filesystem::remove(file());
  std::filesystem::create_directories(file());
  EXPECT_EQ(registryProblemText(r), file() + " を読み込めません。このファイルは変更していません。");
}

TEST_F(RegistryTest, SubkeysWithValuesListsAKeysChildrenInOneRead) {
  RegistryStore r(file());
  ASSERT_TRUE(r.createKey(RootKey::LocalMachine, "U\\b"));
  ASSERT_TRUE(r.createKey(RootKey::LocalMachine, "U\\A\\deeper"));
  ASSERT_TRUE(r.setValues(RootKey::LocalMachine, "U\\b", {{"DisplayName", "B"}, {"x", "1"}}));
  auto list = r.subkeysWithValues(RootKey::LocalMachine, "U");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "A");
  EXPECT_TRUE(list[0].values.empty());
  EXPECT_EQ(list[1].name, "b");
  EXPECT_EQ(list[1].values, (std::vector<std::pair<std::string, std::string>>{{"DisplayName", "B"}, {"x", "1"}}));
  EXPECT_TRUE(r.subkeysWithValues(RootKey::LocalMachine, "Missing").empty());
}

TEST_F(RegistryTest, TreeDeletionTakesTheKeyAndEverythingBelowButNotItsParent) {
  RegistryStore r(file());
  for (const char* path : {"Software\\Maker\\Game\\Save\\Slot1", "Software\\Maker\\Game\\Save\\Slot2",
                           "Software\\Maker\\Game\\Config", "Software\\Maker\\Other"})
    ASSERT_TRUE(r.createKey(RootKey::CurrentUser, path));
  deleteRegistryTree(r, RootKey::CurrentUser, "Software\\Maker\\Game");
  EXPECT_FALSE(r.keyExists(RootKey::CurrentUser, "Software\\Maker\\Game"));
  EXPECT_TRUE(r.keyExists(RootKey::CurrentUser, "Software\\Maker"));
  EXPECT_TRUE(r.keyExists(RootKey::CurrentUser, "Software\\Maker\\Other"));
}

TEST_F(RegistryTest, TreeDeletionStepsOverASubkeyThatWillNotGo) {
  // A damaged store holds a subkey whose name no call accepts: its deletion fails every time,
  // and the walk must move past it to its siblings and still end.
  test::writeFile(file(), "[HKEY_CURRENT_USER\\K\\a]\n[HKEY_CURRENT_USER\\K\\b\x01" "ad]\n[HKEY_CURRENT_USER\\K\\z]\n");
  RegistryStore r(file());
  deleteRegistryTree(r, RootKey::CurrentUser, "K");
  EXPECT_FALSE(r.keyExists(RootKey::CurrentUser, "K\\a"));
  EXPECT_FALSE(r.keyExists(RootKey::CurrentUser, "K\\z"));
  EXPECT_TRUE(r.keyExists(RootKey::CurrentUser, "K"));  // kept: a subkey is left
}

TEST_F(RegistryTest, TreeDeletionOfAMissingKeyDoesNothing) {
  RegistryStore r(file());
  ASSERT_TRUE(r.createKey(RootKey::CurrentUser, "Keep"));
  deleteRegistryTree(r, RootKey::CurrentUser, "Missing");
  deleteRegistryTree(r, RootKey::CurrentUser, "");
  EXPECT_TRUE(r.keyExists(RootKey::CurrentUser, "Keep"));
}

TEST(RegistryFile, TextRoundTripsEveryCharacterThatNeedsEscaping) {
  platform::installer::RegistryMap keys;
  keys["hkey_current_user\\a"] = {"HKEY_CURRENT_USER\\A", {{"", "d"}, {"q\"\\", "\t\r\n\"\\"}}};
  auto back = platform::installer::parseRegistryText(platform::installer::registryText(keys));
  ASSERT_EQ(back.count("hkey_current_user\\a"), 1u);
  EXPECT_EQ(back.at("hkey_current_user\\a").values, keys.at("hkey_current_user\\a").values);
}

}  // namespace
}  // namespace kelvox::installer
