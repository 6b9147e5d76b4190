// Shift-JIS conversion and the double-byte aware scanning that paths and profiles rely on.
#include <gtest/gtest.h>

#include "platform/text_encoding.h"

namespace kelvox::platform {
namespace {

// 表 is 0x95 0x5C and ソ is 0x83 0x5C: their trail bytes are ASCII backslashes.
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(TextEncoding, ConvertsBothWays) {
  EXPECT_EQ(utf8ToSjis("表ソ").value(), kHyou + kSo);
  EXPECT_EQ(sjisToUtf8(kHyou + "a" + kSo), "表aソ");
  EXPECT_EQ(utf8ToSjis("ＭＳ ゴシック").value(), "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_FALSE(utf8ToSjis("\xF0\x9F\x98\x80").has_value());  // no emoji in CP932
  EXPECT_EQ(toSjis("a\xF0\x9F\x98\x80z"), "a?z");
}

TEST(TextEncoding, BrokenShiftJisStillConverts) {
  // A lone lead byte and a lead byte at the end become replacement characters.
  EXPECT_EQ(sjisToUtf8("a\x81"), "a\xEF\xBF\xBD");
  EXPECT_EQ(sjisToUtf8(std::string("\xFF", 1)), "\xEF\xBF\xBD");
}

TEST(TextEncoding, TrailBytesAreNotSeparators) {
  std::string path = "dir\\" + kHyou + "\\x" + kSo;
  EXPECT_EQ(findSjisChar(path, '\\'), 3u);
  EXPECT_EQ(findSjisChar(path, '\\', 4), 6u);
  EXPECT_EQ(findLastSjisChar(path, '\\'), 6u);
  EXPECT_FALSE(endsWithSjisChar(path, '\\'));
  EXPECT_TRUE(endsWithSjisChar(path + "\\", '\\'));
  EXPECT_FALSE(endsWithSjisChar("", '\\'));
  std::string comma = "\x81\x2C,";  // not a real character, but the scan must pair the bytes
  EXPECT_EQ(findSjisChar(comma, ','), 2u);
}

TEST(TextEncoding, CaseFoldingLeavesDoubleByteCharactersAlone) {
  // 0x82 0x60 is Ａ (full-width); its trail byte is '`', and 0x83 0x41 (ア) has 'A' as trail.
  std::string a = "\x83\x41", b = "\x83\x61";
  EXPECT_EQ(sjisToLower("ABC" + a), "abc" + a);
  EXPECT_NE(sjisCompareNoCase(a, b), 0);
  EXPECT_EQ(sjisCompareNoCase("Grd\\BG.PNG", "grd\\bg.png"), 0);
}

TEST(TextEncoding, EachEncodingHasItsFold) {
  // ぁ in UTF-8 is E3 81 81: read as Shift-JIS, 0x81 would pair with the 'A' after it.
  const std::string utf8 = "\xE3\x81\x81" "A";
  EXPECT_EQ(asciiToLower(utf8), "\xE3\x81\x81" "a");
  EXPECT_EQ(sjisToLower(utf8), utf8);  // why UTF-8 text must not take the Shift-JIS fold
  EXPECT_EQ(asciiToLower("\x83\x41"), "\x83\x61");  // Shift-JIS is not for this fold
  EXPECT_EQ(sjisToLower("\x83\x41"), "\x83\x41");
  EXPECT_EQ(asciiToLower("OK,No"), "ok,no");
}

}  // namespace
}  // namespace kelvox::platform
