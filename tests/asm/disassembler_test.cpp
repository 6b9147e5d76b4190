// The listing: its format, which data shows as text, and that kvasm reads it back into the
// same code words and data bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "asm/disassembler.h"

namespace kelvox::assembler {
namespace {

using Bytes = std::vector<uint8_t>;
using Words = std::vector<uint32_t>;

// The listing's data part: everything after the ".data" line.
std::string dataLines(const Bytes& data) {
  std::string listing = disassemble({}, data);
  return listing.substr(listing.find(".data\n") + 6);
}

TEST(Disassembler, ListsEveryWordWithItsIndex) {
  // こんにちは is 10 Shift-JIS bytes (82B1 82F1 82C9 82BF 82CD) + NUL, padded to 3 words.
  Bytes data = {0x82, 0xB1, 0x82, 0xF1, 0x82, 0xC9, 0x82, 0xBF, 0x82, 0xCD, 0, 0,
                0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Words code = {12, 30, 0x80010000, 0, 0x80040001, 0x80030005, 0x80000008};
  std::string expected =
      "; 7 code words, 28 data bytes\n"
      ".code\n"
      "0000:  12\n"
      "0001:  30\n"
      "0002:  Add\n"
      "0003:  0" + std::string(20, ' ') + "; \"こんにちは\"\n"
      "0004:  DebugShowString\n"
      "0005:  .word 0x80030005\n"
      "0006:  End\n"
      "\n"
      ".data\n"
      "0000:  .string \"こんにちは\"\n"
      "0003:  .word 0x12345678\n"
      "0004:  .space 12\n";
  EXPECT_EQ(disassemble(code, data), expected);
}

struct DataCase {
  const char* what;
  Bytes data;
  const char* lines;
};

TEST(Disassembler, ShowsAsTextOnlyWhatReadsBackExactly) {
  const DataCase cases[] = {
      {"escapes", {'a', '"', '\\', '\n', '\t', '\r', 0, 0}, "0000:  .string \"a\\\"\\\\\\n\\t\\r\"\n"},
      {"trail byte 0x5C", {0x95, 0x5C, 0, 0}, "0000:  .string \"表\"\n"},
      {"half-width kana", {0xB1, 0xB2, 0, 0}, "0000:  .string \"ｱｲ\"\n"},
      {"one letter is a number", {'A', 0, 0, 0}, "0000:  .word 0x00000041\n"},
      {"control bytes", {1, 2, 0, 0}, "0000:  .word 0x00000201\n"},
      // 0xED40 is an NEC-selected IBM extension; it converts to a character whose Shift-JIS
      // form is 0xFA5C, so it would not read back.
      {"duplicate code", {0xED, 0x40, 0, 0}, "0000:  .word 0x000040ED\n"},
      {"garbage after the NUL", {'a', 'b', 0, 7}, "0000:  .word 0x07006261\n"},
      {"no NUL", {'a', 'b', 'c', 'd'}, "0000:  .word 0x64636261\n"},
      {"one zero word", {0, 0, 0, 0}, "0000:  .word 0x00000000\n"},
      {"words four to a line", Bytes(20, 1),
       "0000:  .word 0x01010101, 0x01010101, 0x01010101, 0x01010101\n0004:  .word 0x01010101\n"},
      {"text ends a word run", {9, 0, 0, 0, 'h', 'i', 0, 0}, "0000:  .word 0x00000009\n0001:  .string \"hi\"\n"},
      {"short last word", {1, 0, 0, 0, 2}, "0000:  .word 0x00000001, 0x00000002  ; the data ends 3 byte(s) short of this word\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(dataLines(c.data), c.lines) << c.what;
}

TEST(Disassembler, IndexesWidenPastFourDigits) {
  Words code(10001, 1);
  std::string listing = disassemble(code, Bytes(4, 0));
  EXPECT_NE(listing.find("\n00000:  1\n"), std::string::npos);
  EXPECT_NE(listing.find("\n10000:  1\n"), std::string::npos);
}

TEST(Disassembler, ListingAssemblesBackToTheSameImage) {
  const char* sources[] = {
      "12 30 Add DebugShowNumber -5 0xFFFFFFFF -2147483648 .word 0x80030005, 0x8001FFFF\n"
      "loop: loop Jump End",
      ".data\n"
      "a: .string \"表示テスト \\\"quoted\\\" \\\\ \\n\"\n"
      "b: .word 1, 2, 0, 0, 0, 3\n"
      "c: .string \"\\xED\\x40\\x01\"\n"
      "d: .space 9\n"
      "e: .string \"ｶﾀｶﾅ\"\n"
      ".code a SetCaption c DebugShowString e",
  };
  for (const char* source : sources) {
    Script original = assembleOrThrow(source);
    std::string listing = disassemble(original.code, original.data);
    Result again = assemble(listing, "listing.kvs");
    ASSERT_TRUE(again.script) << listing << "\n" << again.errors[0].toString();
    EXPECT_EQ(again.script->code, original.code) << listing;
    EXPECT_EQ(again.script->data, original.data) << listing;
  }
}

}  // namespace
}  // namespace kelvox::assembler
