// The file-error table: every row raises its exact text, the name going in byte for byte and
// the reason converted, without a code.
#include "common/file_errors.h"

#include <gtest/gtest.h>

#include "common/fatal_error.h"
#include "platform/text_encoding.h"
#include "support/test_game.h"

namespace kelvox::common {
namespace {

TEST(FileErrorTable, EveryRowRaisesItsExactText) {
  // 表 is 0x95 0x5C in Shift-JIS: its trail byte looks like '\' and must survive as it is.
  const std::string name = "Save\\\x95\x5C";
  const std::string shown = "Save\\表";
  struct Case {
    FileError row;
    const char* reason;
    std::string displayed;  // UTF-8, as the box shows it
  };
  const Case cases[] = {
      {FileError::Unreadable, "見つかりません", "ファイル " + shown + " を開けませんでした (見つかりません)"},
      {FileError::Unwritable, "rename: No space left on device",
       "ファイル " + shown + " を書き込めませんでした (rename: No space left on device)"},
      {FileError::FolderNotMade, "", "フォルダ " + shown + " を作成できませんでした"},
      {FileError::EmptyScript, "", "ファイル " + shown + " が空です"},
      {FileError::NameRefused, "", "ファイル名 " + shown + " は使えません"},
      {FileError::StackFileMissing, "", "ファイル " + shown + " が開けません"},
      {FileError::FlagNotStorable, "", "フラグ名 " + shown + " は改行を含むため記録できません"},
      {FileError::SystemFileKept, "ファイルが大きすぎます",
       "ファイル " + shown + " を開けませんでした (ファイルが大きすぎます)\r\n今回の既読と記録は保存されません"},
  };
  ASSERT_EQ(std::size(cases), kFileErrorCount);  // a new row needs its case here
  for (const Case& c : cases) {
    try {
      raiseFileError(c.row, name, c.reason);
      ADD_FAILURE() << fileErrorInfo(c.row).name << " raised nothing";
    } catch (const FatalError&) {
      ADD_FAILURE() << fileErrorInfo(c.row).name << " raised a fault";
    } catch (const AppError& e) {
      EXPECT_EQ(platform::sjisToUtf8(e.displayText()), c.displayed) << fileErrorInfo(c.row).name;
      EXPECT_NE(e.displayText().find(name), std::string::npos) << "the name goes in byte for byte";
    }
  }
}

TEST(FileErrorTable, ReadFailuresAreWordedForThePlayer) {
  using Kind = platform::ReadFailure::Kind;
  struct Case {
    platform::ReadFailure failure;
    const char* displayed;
  } cases[] = {
      {{Kind::Missing, ""}, "ファイル Kelvox.ini を開けませんでした (見つかりません)"},
      {{Kind::NotRegularFile, ""}, "ファイル Kelvox.ini を開けませんでした (通常のファイルではありません)"},
      {{Kind::TooLarge, ""}, "ファイル Kelvox.ini を開けませんでした (ファイルが大きすぎます)"},
      {{Kind::Unreadable, "Permission denied"}, "ファイル Kelvox.ini を開けませんでした (Permission denied)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(test::errorOf([&] { raiseUnreadable("Kelvox.ini", c.failure); }), c.displayed);
}

TEST(FileErrorTable, RunningOutOfMemoryShowsTheWordsOfFault11WithoutACode) {
  EXPECT_EQ(platform::sjisToUtf8(outOfMemoryError().displayText()), "メモリが不足しているようです");
}

}  // namespace
}  // namespace kelvox::common
