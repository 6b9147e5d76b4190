// The data section: strings in Shift-JIS, words, space, word-aligned labels and the padding of
// the finished image.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "asm/assembler.h"

namespace kelvox::assembler {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes dataOf(const std::string& source) { return assembleOrThrow(".data\n" + source).data; }

struct StringCase {
  const char* source;
  Bytes bytes;  // the image, padded to whole words
};

TEST(AssemblerData, StringsAreShiftJisWithATerminatingNul) {
  const StringCase cases[] = {
      {R"(.string "ab")", {'a', 'b', 0, 0}},
      {R"(.string "abc")", {'a', 'b', 'c', 0}},
      {R"(.string "abcd")", {'a', 'b', 'c', 'd', 0, 0, 0, 0}},
      {R"(.string "")", {0, 0, 0, 0}},
      // 表 is 0x95 0x5C: its trail byte is an ASCII backslash and must stay one.
      {R"(.string "表")", {0x95, 0x5C, 0, 0}},
      // Hiragana run from ぁ (U+3041) = 0x829F in code order: こ U+3053 -> 0x82B1, ん U+3093 -> 0x82F1,
      // に U+306B -> 0x82C9, ち U+3061 -> 0x82BF, は U+306F -> 0x82CD.
      {R"(.string "こんにちは")", {0x82, 0xB1, 0x82, 0xF1, 0x82, 0xC9, 0x82, 0xBF, 0x82, 0xCD, 0, 0}},
      {R"(.string "ｱ")", {0xB1, 0, 0, 0}},  // half-width katakana is one byte
      {R"(.string "\"\\\n\t\r")", {'"', '\\', '\n', '\t', '\r', 0, 0, 0}},
      {R"(.string "\x41\xff\x00")", {'A', 0xFF, 0, 0}},  // \xNN is a raw byte, even a NUL
      {R"(.string "a;b,c")", {'a', ';', 'b', ',', 'c', 0, 0, 0}},  // no comment or list inside quotes
  };
  for (const auto& c : cases) EXPECT_EQ(dataOf(c.source), c.bytes) << c.source;
}

TEST(AssemblerData, WordsAreLittleEndianAndTakeLabelsAndConstants) {
  EXPECT_EQ(dataOf(".word 0x11223344, -2, 7"),
            (Bytes{0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0}));
  // self at word 0, other at word 2 (after two words); the constant is 5.
  EXPECT_EQ(dataOf("self: .word self, K\nother: .word other\n.equ K 5"),
            (Bytes{0, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0}));
}

TEST(AssemblerData, DataLabelsAreWordIndexesAlignedWithZeroPadding) {
  Script s = assembleOrThrow(
      ".data\n"
      "a: .string \"x\"\n"    // bytes 0..1, padded to 4
      "b: .space 5\n"         // bytes 4..8, padded to 12
      "c: .string \"hello\"\n" // bytes 12..17, padded to 20
      "d: .word 9\n"          // bytes 20..23
      "e:\n"
      ".code a b c d e\n");
  EXPECT_EQ(s.labels.at("a"), 0u);
  EXPECT_EQ(s.labels.at("b"), 1u);
  EXPECT_EQ(s.labels.at("c"), 3u);
  EXPECT_EQ(s.labels.at("d"), 5u);
  EXPECT_EQ(s.labels.at("e"), 6u);
  EXPECT_EQ(s.code, (std::vector<uint32_t>{0, 1, 3, 5, 6}));
  ASSERT_EQ(s.data.size(), 24u);
  EXPECT_EQ(Bytes(s.data.begin(), s.data.begin() + 4), (Bytes{'x', 0, 0, 0}));
  EXPECT_EQ(Bytes(s.data.begin() + 4, s.data.begin() + 12), Bytes(8, 0));
  EXPECT_EQ(Bytes(s.data.begin() + 12, s.data.begin() + 20), (Bytes{'h', 'e', 'l', 'l', 'o', 0, 0, 0}));
}

TEST(AssemblerData, UnlabelledDataIsPackedWithoutPadding) {
  // Only labels align: two strings in a row share a word.
  EXPECT_EQ(dataOf(".string \"a\"\n.string \"b\"\n.space 1\n.string \"c\""), (Bytes{'a', 0, 'b', 0, 0, 'c', 0, 0}));
}

TEST(AssemblerData, ImageIsWholeWordsAndNeverEmpty) {
  EXPECT_EQ(assembleOrThrow("End").data, Bytes(4, 0));
  EXPECT_EQ(dataOf(".space 0"), Bytes(4, 0));
  EXPECT_EQ(dataOf(".space 5"), Bytes(8, 0));
  EXPECT_EQ(dataOf(".space 8"), Bytes(8, 0));
}

TEST(AssemblerData, SpaceTakesAConstantButNotALabel) {
  EXPECT_EQ(dataOf(".equ SIZE 12\n.space SIZE"), Bytes(12, 0));
  Result r = assemble(".data\nhere: .space here");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].toString(), "<input>:2:14: error: '.space' needs a number, not a label");
}

}  // namespace
}  // namespace kelvox::assembler
