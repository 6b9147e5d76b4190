// Group 0x8001: each operation pops t then s and pushes s OP t, with wrapping, signed and
// unsigned readings, exact booleans and 5-bit shift counts.
#include <gtest/gtest.h>

#include <cstdint>

#include "support/test_game.h"
#include "vm/dispatch.h"
#include "vm/instruction_set.h"

namespace kelvox::vm {
namespace {

struct BinaryCase {
  Op op;
  uint32_t s, t, expected;
};

class ArithmeticGroup : public ::testing::Test {
 protected:
  test::TestGame game{".code\n End\n"};

  // Runs [op] on s, t through the group handler; returns the one value left.
  uint32_t apply(Op op, uint32_t s, uint32_t t) {
    auto& ps = game.m().paramStack;
    ps.setCount(0);
    ps.push(static_cast<int32_t>(s));
    ps.push(static_cast<int32_t>(t));
    arithmeticGroup(game.m(), static_cast<uint32_t>(op));
    EXPECT_EQ(ps.getCount(), 1);
    return static_cast<uint32_t>(ps.pop());
  }
};

TEST_F(ArithmeticGroup, BinaryOperationsComputeSOpT) {
  const BinaryCase cases[] = {
      {Op::Add, 0xFFFFFFFF, 2, 1},              // wraps
      {Op::Sub, 3, 5, 0xFFFFFFFE},              // -2
      {Op::MulU, 0x10000, 0x10000, 0},          // low 32 bits only
      {Op::MulS, 0xFFFFFFFF, 3, 0xFFFFFFFD},    // -1 * 3
      {Op::DivU, 0xFFFFFFFE, 2, 0x7FFFFFFF},
      {Op::DivS, 0xFFFFFFFE, 2, 0xFFFFFFFF},    // -2 / 2
      {Op::DivS, 0xFFFFFFF9, 2, 0xFFFFFFFD},    // -7 / 2 truncates toward zero: -3
      {Op::ModS, 0xFFFFFFF9, 2, 0xFFFFFFFF},    // -7 mod 2 = -1 (sign of s)
      {Op::ModU, 0xFFFFFFF9, 2, 1},
      {Op::Or, 0xF0, 0x0F, 0xFF},
      {Op::And, 0xF0, 0x3C, 0x30},
      {Op::Xor, 0xFF, 0x0F, 0xF0},
      {Op::Eq, 7, 7, 1},
      {Op::Eq, 7, 8, 0},
      {Op::Ne, 7, 8, 1},
      {Op::LtU, 0xFFFFFFFF, 1, 0},
      {Op::LtS, 0xFFFFFFFF, 1, 1},
      {Op::LeU, 5, 5, 1},
      {Op::LeS, 0x80000000, 0x7FFFFFFF, 1},
      {Op::GtU, 0x80000000, 0x7FFFFFFF, 1},
      {Op::GtS, 0x80000000, 0x7FFFFFFF, 0},
      {Op::GeU, 4, 5, 0},
      {Op::GeS, 0xFFFFFFFF, 0xFFFFFFFF, 1},
      {Op::ShrS, 0x80000000, 31, 0xFFFFFFFF},
      {Op::ShrU, 0x80000000, 31, 1},
      {Op::Shl, 1, 32, 1},                      // only the low 5 bits count
      {Op::Shl, 1, 33, 2},
      {Op::ShrU, 0x100, 36, 0x10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(findInstruction(static_cast<uint32_t>(c.op))->mnemonic) + " " + std::to_string(c.s) +
                 " " + std::to_string(c.t));
    EXPECT_EQ(apply(c.op, c.s, c.t), c.expected);
  }
}

TEST_F(ArithmeticGroup, UnaryOperationsWorkOnTheTopValue) {
  auto& ps = game.m().paramStack;
  ps.push(0x0F0F0F0F);
  arithmeticGroup(game.m(), static_cast<uint32_t>(Op::Not));
  EXPECT_EQ(static_cast<uint32_t>(ps.pop()), 0xF0F0F0F0u);
  ps.push(INT32_MIN);
  arithmeticGroup(game.m(), static_cast<uint32_t>(Op::Neg));
  EXPECT_EQ(ps.pop(), INT32_MIN);  // 0 - (-2^31) wraps to itself
}

TEST_F(ArithmeticGroup, DivisionFaultsConsumeBothOperandsAndPushNothing) {
  struct Fault {
    Op op;
    int32_t s, t;
    const char* text;
  };
  const Fault faults[] = {
      {Op::DivU, 5, 0, "ゼロで除算しようとしました(22)"},
      {Op::ModU, 5, 0, "ゼロで除算しようとしました(22)"},
      {Op::DivS, 5, 0, "ゼロで除算しようとしました(22)"},
      {Op::ModS, 5, 0, "ゼロで除算しようとしました(22)"},
      {Op::DivS, INT32_MIN, -1, "除算の結果が範囲を超えました(23)"},
      {Op::ModS, INT32_MIN, -1, "除算の結果が範囲を超えました(23)"},
  };
  auto& ps = game.m().paramStack;
  for (const auto& f : faults) {
    ps.setCount(0);
    ps.push(99);  // a value below the operands stays
    ps.push(f.s);
    ps.push(f.t);
    EXPECT_EQ(test::errorOf([&] { arithmeticGroup(game.m(), static_cast<uint32_t>(f.op)); }), f.text);
    EXPECT_EQ(game.stack(), std::vector<int32_t>{99});
  }
}

TEST_F(ArithmeticGroup, BinaryOperationOnOneValueRaises67AndConsumesIt) {
  auto& ps = game.m().paramStack;
  ps.push(5);
  EXPECT_EQ(test::errorOf([&] { arithmeticGroup(game.m(), static_cast<uint32_t>(Op::Add)); }),
            "スクリプトの不正でスタックが空になりました(67)");
  EXPECT_EQ(ps.getCount(), 0);
}

TEST_F(ArithmeticGroup, UnknownOperationChangesNothing) {
  auto& ps = game.m().paramStack;
  ps.push(1);
  ps.push(2);
  EXPECT_EQ(arithmeticGroup(game.m(), 0x80010020u), 1);
  EXPECT_EQ(game.stack(), (std::vector<int32_t>{1, 2}));
}

TEST(ArithmeticScript, SliceLoopComputesTheSameAsTheGroupHandler) {
  // The slice loop runs these operations inline; a script checks the inlined path.
  test::TestGame game(
      ".code\n"
      " 3 5 Sub\n"             // -2
      " -7 2 ModS\n"           // -1
      " 0xFFFFFFFE 2 DivU\n"   // 0x7FFFFFFF
      " 1 32 Shl\n"            // 1
      " 7 7 Eq\n"              // 1
      " 0x0F Not\n"            // 0xFFFFFFF0
      " WaitFrame\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), (std::vector<int32_t>{-2, -1, 0x7FFFFFFF, 1, 1, static_cast<int32_t>(0xFFFFFFF0)}));
}

}  // namespace
}  // namespace kelvox::vm
