// Errors: each names its file, line and column, all of them are reported, and no script is
// produced when there is one.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "asm/assembler.h"

namespace kelvox::assembler {
namespace {

struct ErrorCase {
  const char* source;
  const char* expected;  // the one diagnostic, as printed
};

TEST(AssemblerErrors, EachFaultIsReportedAtItsPosition) {
  const ErrorCase cases[] = {
      {"1 Foo", "t.kvs:1:3: error: unknown instruction 'Foo'"},
      {"1 waitFRAME", "t.kvs:1:3: error: unknown instruction 'waitFRAME' (did you mean 'WaitFrame'?)"},
      {"  loop Jump", "t.kvs:1:3: error: undefined label 'loop'"},
      {"a: 1\na: 2", "t.kvs:2:1: error: duplicate name 'a' (first defined at t.kvs:1:1)"},
      {"a: 1\n.equ a 3", "t.kvs:2:6: error: duplicate name 'a' (first defined at t.kvs:1:1)"},
      {"Add: 1", "t.kvs:1:1: error: 'Add' is an instruction and cannot name a label"},
      {"12ab", "t.kvs:1:1: error: bad number '12ab'"},
      {"0x", "t.kvs:1:1: error: bad number '0x'"},
      {" 0x100000000", "t.kvs:1:2: error: number '0x100000000' does not fit in 32 bits"},
      {"-2147483649", "t.kvs:1:1: error: number '-2147483649' does not fit in 32 bits"},
      {"99999999999999999999999", "t.kvs:1:1: error: number '99999999999999999999999' does not fit in 32 bits"},
      {".data\nx: .string \"abc", "t.kvs:2:12: error: unterminated string"},
      {".data\n.string \"ok ☃\"", "t.kvs:2:13: error: '☃' cannot be written in Shift-JIS"},
      {".data\n.string \"\\q\"", "t.kvs:2:10: error: unknown escape '\\q'"},
      {".data\n.string \"\\x4\"", "t.kvs:2:10: error: '\\x' needs two hexadecimal digits"},
      {".data\n.string \"\xFF\"", "t.kvs:2:10: error: invalid UTF-8 in string"},
      {".data\n  Add", "t.kvs:2:3: error: expected a directive in .data, found 'Add'"},
      {".data\n.word 1 2", "t.kvs:2:9: error: expected ',' before '2'"},
      {".data\n.word 1,", "t.kvs:2:1: error: '.word' ends with ','"},
      {".data\n.word", "t.kvs:2:1: error: '.word' needs a value"},
      {".string \"x\"", "t.kvs:1:1: error: '.string' belongs in .data"},
      {"\"x\"", "t.kvs:1:1: error: a string belongs in .data (write it with .string)"},
      {".bogus 1", "t.kvs:1:1: error: unknown directive '.bogus'"},
      {".equ X", "t.kvs:1:1: error: '.equ' needs a name and a value"},
      {".equ A B\n.equ B A\nA", "t.kvs:1:6: error: 'A' is defined in terms of itself"},
      {".equ A missing\nA", "t.kvs:1:8: error: undefined label 'missing'"},
      {"1 @", "t.kvs:1:3: error: unexpected '@'"},
      {"1x: 1", "t.kvs:1:1: error: bad label name '1x'"},
      {".data\n.space -4", "t.kvs:2:8: error: '.space' needs a size of 0 bytes or more"},
  };
  for (const auto& c : cases) {
    Result r = assemble(c.source, "t.kvs");
    EXPECT_FALSE(r.script) << c.source;
    ASSERT_EQ(r.errors.size(), 1u) << c.source << "\nfirst: " << (r.errors.empty() ? "" : r.errors[0].toString());
    EXPECT_EQ(r.errors[0].toString(), c.expected) << c.source;
  }
}

TEST(AssemblerErrors, AllErrorsAreReportedInSourceOrder) {
  Result r = assemble(
      "Bogus\n"         // unknown instruction (found when names are resolved)
      "1 2ab\n"         // bad number (found while reading)
      ".data\n"
      "x: .word nope\n"  // undefined label
      "x:\n",            // duplicate
      "t.kvs");
  ASSERT_EQ(r.errors.size(), 4u);
  EXPECT_EQ(r.errors[0].line, 1);
  EXPECT_EQ(r.errors[1].line, 2);
  EXPECT_EQ(r.errors[1].column, 3);
  EXPECT_EQ(r.errors[2].line, 4);
  EXPECT_EQ(r.errors[2].column, 10);
  EXPECT_EQ(r.errors[3].line, 5);
}

TEST(AssemblerErrors, ABrokenConstantIsReportedOnceNotAtEveryUse) {
  Result r = assemble(".equ A nowhere\nA A A", "t.kvs");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].line, 1);
}

TEST(AssemblerErrors, AssembleOrThrowListsTheDiagnostics) {
  try {
    assembleOrThrow("Foo\nBar", "inline.kvs");
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(),
                 "inline.kvs:1:1: error: unknown instruction 'Foo'\n"
                 "inline.kvs:2:1: error: unknown instruction 'Bar'\n");
  }
}

}  // namespace
}  // namespace kelvox::assembler
