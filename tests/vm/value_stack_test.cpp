// ValueStack: the 1023-value limit, the two faults and the raw accessors saved games use.
#include <gtest/gtest.h>

#include "common/fatal_error.h"
#include "support/test_game.h"
#include "vm/value_stack.h"

namespace kelvox::vm {
namespace {

TEST(ValueStack, PopOfEmptyStackRaises67AndChangesNothing) {
  ValueStack s;
  ASSERT_EQ(s.create(1024), 0);
  EXPECT_EQ(test::errorOf([&] { s.pop(); }), "スクリプトの不正でスタックが空になりました(67)");
  EXPECT_EQ(s.getCount(), 0);
}

TEST(ValueStack, Holds1023ValuesAndThe1024thPushRaises66) {
  ValueStack s;
  ASSERT_EQ(s.create(1024), 0);
  for (int i = 0; i < 1023; ++i) s.push(i);
  EXPECT_EQ(s.getCount(), 1023);
  EXPECT_EQ(test::errorOf([&] { s.push(77); }), "スクリプトの不正でスタックが満杯になりました(66)");
  // The failed push still stored its value in the last slot.
  EXPECT_EQ(s.getCount(), 1024);
  EXPECT_EQ(s.getItems()[1023], 77);
}

TEST(ValueStack, PushOntoOverflowedStackRaisesWithoutWriting) {
  ValueStack s;
  ASSERT_EQ(s.create(4), 0);
  for (int i = 0; i < 3; ++i) s.push(i);
  EXPECT_NE(test::errorOf([&] { s.push(9); }), "");
  EXPECT_NE(test::errorOf([&] { s.push(10); }), "");
  EXPECT_EQ(s.getCount(), 4);
  EXPECT_EQ(s.getItems()[3], 9);
  EXPECT_EQ(s.pop(), 9);
}

TEST(ValueStack, SetCountThenPopReturnsTheItemBelowIt) {
  ValueStack s;
  ASSERT_EQ(s.create(1024), 0);
  for (int i = 0; i < 10; ++i) s.getItems()[i] = 100 + i;
  s.setCount(6);
  EXPECT_EQ(s.pop(), 105);
}

TEST(ValueStack, SetCountIsKeptInsideTheStorage) {
  ValueStack s;
  ASSERT_EQ(s.create(8), 0);
  s.setCount(-3);
  EXPECT_EQ(s.getCount(), 0);
  s.setCount(500);
  EXPECT_EQ(s.getCount(), 7);
}

}  // namespace
}  // namespace kelvox::vm
