// The code section: how literals, mnemonics, names and raw words become code words.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "asm/assembler.h"

namespace kelvox::assembler {
namespace {

// Operation words written out here rather than taken from the table under test.
constexpr uint32_t kLoadWord = 0x80000000;
constexpr uint32_t kEnd = 0x80000008;
constexpr uint32_t kJump = 0x8000000A;
constexpr uint32_t kAdd = 0x80010000;
constexpr uint32_t kNot = 0x80010008;
constexpr uint32_t kNeg = 0x80010009;
constexpr uint32_t kDebugShowNumber = 0x80040000;

std::vector<uint32_t> codeOf(const std::string& source) { return assembleOrThrow(source).code; }

struct LiteralCase {
  const char* source;
  std::vector<uint32_t> words;
};

TEST(AssemblerCode, LiteralsBecomeTheWordsThatPushTheirValue) {
  const LiteralCase cases[] = {
      {"0", {0}},
      {"42", {42}},
      {"0x2A", {42}},
      {"0X2a", {42}},
      {"007", {7}},                          // decimal, not octal
      {"2147483647", {0x7FFFFFFF}},          // largest single literal word
      {"0x7FFFFFFF", {0x7FFFFFFF}},
      {"-5", {5, kNeg}},                     // -5 = Neg(5)
      {"-1", {1, kNeg}},
      {"-0", {0}},
      {"-2147483647", {0x7FFFFFFF, kNeg}},
      {"-2147483648", {0x7FFFFFFF, kNot}},   // its magnitude has bit 31 set: ~0x7FFFFFFF = 0x80000000
      {"-0x80000000", {0x7FFFFFFF, kNot}},
      {"0xFFFFFFFF", {0, kNot}},             // ~0 = 0xFFFFFFFF
      {"0x80000000", {0x7FFFFFFF, kNot}},
      {"0x80030005", {0x7FFCFFFA, kNot}},    // pushes the word; does not execute it
      {"4294967295", {0, kNot}},             // bit 31 set written in decimal: same rule
  };
  for (const auto& c : cases) EXPECT_EQ(codeOf(c.source), c.words) << c.source;
}

TEST(AssemblerCode, MnemonicsAreOperationWordsAndCaseSensitive) {
  EXPECT_EQ(codeOf("12 30 Add DebugShowNumber End"), (std::vector<uint32_t>{12, 30, kAdd, kDebugShowNumber, kEnd}));
  EXPECT_EQ(codeOf("LoadWord"), (std::vector<uint32_t>{kLoadWord}));
  Result lower = assemble("add");
  ASSERT_EQ(lower.errors.size(), 1u);
  EXPECT_EQ(lower.errors[0].message, "unknown instruction 'add' (did you mean 'Add'?)");
}

TEST(AssemblerCode, RawWordsAreEmittedUnchanged) {
  EXPECT_EQ(codeOf(".word 0x80030005"), (std::vector<uint32_t>{0x80030005}));
  EXPECT_EQ(codeOf(".word -1, 7"), (std::vector<uint32_t>{0xFFFFFFFF, 7}));
  EXPECT_EQ(codeOf(".word End"), (std::vector<uint32_t>{kEnd}));
  EXPECT_EQ(codeOf(".equ K 0x80000001\n.word K, here\nhere:"), (std::vector<uint32_t>{0x80000001, 2}))
      << "a raw word takes constants and labels";
}

TEST(AssemblerCode, CodeLabelsAreWordIndexesAndMayBeUsedBeforeDefinition) {
  // start=0; loop: at index 2 because "-5" takes two words; done at index 6.
  Script s = assembleOrThrow(
      "start: -5 loop: done Jump\n"
      "       loop Jump\n"
      "done:  End\n");
  EXPECT_EQ(s.labels.at("start"), 0u);
  EXPECT_EQ(s.labels.at("loop"), 2u);
  EXPECT_EQ(s.labels.at("done"), 6u);
  EXPECT_EQ(s.code, (std::vector<uint32_t>{5, kNeg, 6, kJump, 2, kJump, kEnd}));
}

TEST(AssemblerCode, ConstantsFollowTheLiteralRulesAndMayBeDefinedLater) {
  Script s = assembleOrThrow(
      "MINUS_TWO LIMIT HIGH ALIAS\n"
      ".equ MINUS_TWO -2\n"
      ".equ LIMIT, 90\n"
      ".equ HIGH 0xFFFFFFFE\n"
      ".equ ALIAS target\n"
      "target: End\n");
  // 2 Neg | 90 | ~0xFFFFFFFE = 1, Not | target (index 6)
  EXPECT_EQ(s.code, (std::vector<uint32_t>{2, kNeg, 90, 1, kNot, 6, kEnd}));
  EXPECT_EQ(s.labels.count("LIMIT"), 0u) << "constants are not labels";
}

TEST(AssemblerCode, SectionsAccumulateAcrossSwitches) {
  Script s = assembleOrThrow(".code 1\n.data a: .word 7\n.code 2 a\n.data b: .word 8\n.code b");
  EXPECT_EQ(s.code, (std::vector<uint32_t>{1, 2, 0, 1}));
  EXPECT_EQ(s.data, (std::vector<uint8_t>{7, 0, 0, 0, 8, 0, 0, 0}));
}

TEST(AssemblerCode, CommentsAndBlankLinesAreIgnored) {
  EXPECT_EQ(codeOf("; heading\n\n  1 ; one\n\t2;two\r\n;3\n"), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(codeOf("\xEF\xBB\xBF" "1"), (std::vector<uint32_t>{1})) << "a byte order mark is skipped";
}

TEST(AssemblerCode, IndexMarksCheckThePosition) {
  EXPECT_EQ(codeOf("0000: 1\n0001: -3\n0003: End"), (std::vector<uint32_t>{1, 3, kNeg, kEnd}));
  Result wrong = assemble("0000: 1\n0002: End");
  ASSERT_EQ(wrong.errors.size(), 1u);
  EXPECT_EQ(wrong.errors[0].toString(), "<input>:2:1: error: index mark 2 does not match the position 1");
}

}  // namespace
}  // namespace kelvox::assembler
