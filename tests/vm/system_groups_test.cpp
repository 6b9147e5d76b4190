// Groups 0x8002 (random numbers, cursor, caption, frame clock), 0x8004 (debug boxes), 0x8005
// (mouse and keys) and the inert groups 0x800E/0x800F.
#include <gtest/gtest.h>

#include "platform/headless/bounded_record.h"
#include "platform/text_encoding.h"
#include "support/test_game.h"
#include "vm/dispatch.h"
#include "vm/groups.h"
#include "vm/instruction_set.h"
#include "vm/random.h"

namespace kelvox::vm {
namespace {

using Stack = std::vector<int32_t>;
using platform::Answer;

TEST(Random, FollowsTheRuntimeLibraryGenerator) {
  // state = state * 214013 + 2531011; value = (state >> 16) & 0x7FFF. From seed 1 the
  // first states are 2745024 and 1210316419: values 41 and 18467.
  uint32_t state = 1;
  EXPECT_EQ(nextRandom(state), 41);
  EXPECT_EQ(nextRandom(state), 18467);
}

TEST(Random, RangeRules) {
  test::TestGame game(".code\n End\n");
  auto draw = [&](uint32_t n) {
    game.m().paramStack.push(static_cast<int32_t>(n));
    systemGroup(game.m(), static_cast<uint32_t>(Op::Random));
    return static_cast<uint32_t>(game.m().paramStack.pop());
  };
  EXPECT_EQ(draw(0), 0u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(draw(1), 0u);
  for (int i = 0; i < 200; ++i) EXPECT_LE(draw(100000), 32767u);
  seedRandom(game.m().randomState, 1);
  EXPECT_EQ(draw(10), 1u);  // 41 mod 10
  EXPECT_EQ(draw(0xFFFFFFFF), 18467u);  // n is unsigned
}

TEST(SystemGroup, ShowMouseCursorKeepsTheDisplayCountBalanced) {
  test::TestGame game(".code\n 1 ShowMouseCursor 1 ShowMouseCursor 0 ShowMouseCursor 0 ShowMouseCursor WaitFrame\n");
  game.m().cursorVisible = 0;
  game.slice();
  // Only the first show and the first hide reach the system.
  EXPECT_EQ(game.window().showCursorCalls(), 2);
  EXPECT_EQ(game.window().cursor().count(), 0);
  EXPECT_EQ(game.m().cursorVisible, 0);
}

TEST(SystemGroup, CaptionDelayAutoHideAndFrameClock) {
  test::TestGame game(
      ".code\n title SetCaption 500 SetCursorHideDelay 1 SetCursorAutoHide ResetFrameClock WaitFrame\n"
      ".data\ntitle: .string \"表示テスト\"\n");
  game.clock().set(12345);
  game.clock().setCostPerRead(0);
  game.slice();
  EXPECT_EQ(platform::sjisToUtf8(game.window().caption()), "表示テスト");
  EXPECT_EQ(game.m().cursorHideDelay, 500u);
  EXPECT_EQ(game.m().cursorAutoHide, 1);
  EXPECT_EQ(game.m().lastMouseMoveTime, 12345u);
  EXPECT_EQ(game.m().frameDeadline, 12345u);
}

TEST(DebugGroup, ShowsEachValueInADebugBox) {
  test::TestGame game(
      ".code\n -1 DebugShowNumber DebugShowStackDepth 7 DebugShowStackDepth text DebugShowString WaitFrame\n"
      ".data\ntext: .string \"こんにちは\"\n");
  game.slice();
  const auto& shown = game.dialogs().shown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].text, "-1");
  EXPECT_EQ(shown[0].caption, "Debug");
  EXPECT_EQ(shown[0].buttons, platform::Buttons::OkCancel);
  EXPECT_EQ(platform::sjisToUtf8(shown[1].text), "インデックス＝0");
  EXPECT_EQ(platform::sjisToUtf8(shown[2].text), "インデックス＝1");
  EXPECT_EQ(platform::sjisToUtf8(shown[3].text), "こんにちは");
  EXPECT_EQ(game.stack(), Stack{7});
  EXPECT_EQ(game.m().debugBoxOpen, 0);
}

TEST(DebugGroup, CancelEndsTheGameAfterThisInstructionAndOkGoesOn) {
  test::TestGame game(".code\n 1 DebugShowNumber 2 DebugShowNumber 3 WaitFrame\n");
  game.dialogs().queueAnswer(Answer::Ok);
  game.dialogs().queueAnswer(Answer::Cancel);
  game.slice();
  EXPECT_EQ(game.m().endRequested, 1);
  EXPECT_TRUE(game.stack().empty());  // 3 was never pushed
}

TEST(DebugGroup, LongStringsAreCutToTheBufferWithoutSplittingACharacter) {
  std::string exact(254, 'a');
  std::string longer = std::string(253, 'b') + "表表";  // 257 bytes; 表 is two bytes
  test::TestGame game(".code\n a DebugShowString b DebugShowString WaitFrame\n.data\na: .string \"" + exact +
                      "\"\nb: .string \"" + longer + "\"\n");
  game.slice();
  const auto& shown = game.dialogs().shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, exact);
  EXPECT_EQ(shown[1].text, std::string(253, 'b'));  // the next character would not fit
}

TEST(DebugGroup, AFailedPopDoesNotLeaveTheMachinePaused) {
  test::TestGame game(".code\n DebugShowNumber 5 WaitFrame\n");
  EXPECT_EQ(game.slice(), "スクリプトの不正でスタックが空になりました(67)");
  EXPECT_EQ(game.m().debugBoxOpen, 0);
  game.slice();
  EXPECT_EQ(game.stack(), Stack{5});
}

TEST(InputGroup, MouseKeysAndCursorMoves) {
  test::TestGame game(".code\n GetMouseX GetMouseY 1 IsKeyDown 65 IsKeyDown 7 9 SetCursorPosition WaitFrame\n");
  platform::WindowEvent down{platform::WindowEvent::Kind::MouseDown};
  down.button = 1;
  game.window().inject(down);
  game.host->input->setMousePosition(30, 40);
  game.slice();
  EXPECT_EQ(game.stack(), (Stack{30, 40, 1, 0}));
  EXPECT_EQ(game.window().cursorMoves(), (std::vector<std::pair<int, int>>{{7, 9}}));
  // The stored position follows only through the mouse-move event the move causes.
  EXPECT_EQ(game.host->input->mouseX(), 30);
}

TEST(InputGroup, ACursorMoveOffTheScreenStopsAtItsEdge) {
  // 640 x 480 until SetScreenMode says otherwise.
  test::TestGame game(".code\n -5 3 SetCursorPosition 2147483647 -7 SetCursorPosition 800 600 0 SetScreenMode "
                      "5000 599 SetCursorPosition WaitFrame\n");
  game.slice();
  EXPECT_EQ(game.window().cursorMoves(), (std::vector<std::pair<int, int>>{{0, 3}, {639, 0}, {799, 599}}));
}

TEST(InputGroup, CursorMovesInALoopUseBoundedMemory) {
  test::TestGame game(".code\nloop: 0 0 SetCursorPosition loop Jump\n");
  uint64_t moves = 0;
  for (int tick = 0; tick < 10; ++tick) {
    game.slice();  // 100000 instructions of five words each: 20000 moves
    moves += 20000;
  }
  EXPECT_EQ(game.window().cursorMoveCount(), moves);
  EXPECT_LE(game.window().cursorMoves().size(), 2 * platform::kKeptRecords);
  EXPECT_EQ(game.window().cursorMoves().back(), (std::pair<int, int>{0, 0}));
  // The moves no pump has reported yet are one event: where the pointer is now.
  std::vector<platform::WindowEvent> events;
  game.window().pumpEvents(events);
  EXPECT_EQ(events.size(), 1u);
}

TEST(InertGroups, ConsumeOperandsAndPushZeroWhereListed) {
  test::TestGame game(".code\n End\n");
  struct Case {
    uint32_t word;
    Stack before, after;
  };
  const Case cases[] = {
      {0x800E0002, {7}, {0}},       {0x800E0000, {1, 2, 3}, {1}}, {0x800E0001, {1, 2}, {1}},
      {0x800F0001, {4}, {4}},       {0x800F0003, {4}, {4, 0}},    {0x800F0005, {4, 5}, {4}},
      {0x800E0008, {4, 5}, {4, 5}}, {0x800F0006, {4}, {4}},
  };
  for (const auto& c : cases) {
    auto& ps = game.m().paramStack;
    ps.setCount(0);
    for (int32_t v : c.before) ps.push(v);
    inertGroup(game.m(), c.word);
    EXPECT_EQ(game.stack(), c.after) << std::hex << c.word;
  }
}

}  // namespace
}  // namespace kelvox::vm
