// Dispatch and the core group 0x8000: literals, data memory, stack shuffles, jumps, calls,
// the slice's stopping rules and the faults of a broken script.
#include <gtest/gtest.h>

#include "support/test_game.h"
#include "vm/dispatch.h"
#include "vm/instruction_set.h"

namespace kelvox::vm {
namespace {

using Stack = std::vector<int32_t>;

TEST(Dispatch, LiteralsArePushedAndBit31SelectsAnOperation) {
  test::TestGame game(".code\n .word 0x7FFFFFFF\n WaitFrame\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), Stack{0x7FFFFFFF});
  EXPECT_EQ(findInstruction(0x80000000u)->mnemonic, "LoadWord");
}

TEST(Dispatch, UnassignedGroupRaises10WithTheWordInHex) {
  test::TestGame game(".code\n .word 0x80030005\n 1\n WaitFrame\n");
  EXPECT_EQ(game.slice(), "命令番号80030005は未定義です(10)");
  EXPECT_EQ(game.m().pc, 1);  // not repeated: the next tick goes on after it
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), Stack{1});
  for (uint32_t word : {0x80100000u, 0xFFFF1234u}) {
    EXPECT_EQ(test::errorOf([&] {
                game.m().code = {word};
                game.m().pc = 0;
                step(game.m());
              }).substr(0, 12),
              "命令番号");
  }
}

TEST(Dispatch, UnknownOperationOfAnAssignedGroupIsSkipped) {
  test::TestGame game(".code\n 1\n .word 0x80000015, 0x80010020, 0x80050004\n 2 WaitFrame\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), (Stack{1, 2}));
}

// A stand-in for a subsystem's group: pushes the operation number plus 100.
int recordingGroup(MachineContext& m, uint32_t word) {
  m.paramStack.push(static_cast<int32_t>(word & 0xFFFF) + 100);
  return 0;
}

TEST(Dispatch, SubsystemGroupsSkipUntilTheHostPutsTheirHandlerInTheTable) {
  // MidiStop (0x800A, not wired yet) with five values below it: skipped, so they stay.
  const char* source = ".code\n 1 2 3 4 5 MidiStop WaitFrame\n";
  test::TestGame skipped(source);
  EXPECT_EQ(skipped.slice(), "");
  EXPECT_EQ(skipped.stack(), (Stack{1, 2, 3, 4, 5}));

  test::TestGame wired(source);
  wired.m().groups[0x800A - 0x8000] = recordingGroup;
  EXPECT_EQ(wired.slice(), "");  // through the slice loop
  EXPECT_EQ(wired.stack(), (Stack{1, 2, 3, 4, 5, 101}));
  wired.m().pc = 5;
  step(wired.m());  // and through step()
  EXPECT_EQ(wired.stack(), (Stack{1, 2, 3, 4, 5, 101, 101}));
}

TEST(Dispatch, RunningPastTheEndOfTheCodeRaises7AndEndsTheGame) {
  test::TestGame game(".code\n 1 2\n");
  EXPECT_EQ(game.slice(), "コードの範囲外を実行しようとしました(7)");
  EXPECT_EQ(game.stack(), (Stack{1, 2}));
  EXPECT_EQ(game.m().endRequested, 1);
}

TEST(Dispatch, JumpsOutOfTheCodeRaise7WherePcLanded) {
  for (const char* jump : {"0x7FFFFFFF Jump", "-100 JumpRelative", "1 9 JumpIf", "9 Call", "9 0 JumpIfNot"}) {
    SCOPED_TRACE(jump);
    test::TestGame game(std::string(".code\n ") + jump + "\n");
    EXPECT_EQ(game.slice(), "コードの範囲外を実行しようとしました(7)");
    EXPECT_GE(static_cast<uint32_t>(game.m().pc), game.m().code.size());
  }
}

TEST(Dispatch, ValuesCrossBetweenInlineOperationsAndOtherGroups) {
  // The slice loop keeps the top of the stack out of memory; every other group must still
  // see, and leave, the whole stack.
  test::TestGame game(".code\n 5 6\n .word 0x800E0002\n Add 9\n .word 0x800F0003\n Swap WaitFrame\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), (Stack{5, 0, 9}));
  test::TestGame faulty(".code\n 1 2 3 Dup\n .word 0x80030000\n");
  EXPECT_NE(faulty.slice(), "");
  EXPECT_EQ(faulty.stack(), (Stack{1, 2, 3, 3}));
}

TEST(Dispatch, AfterAnOverflowBothPathsPopTheValueThatOverflowed) {
  // A failed push leaves count at the capacity with its value in the last slot; neither the
  // slice loop nor step() may lose that slot on the way to another group.
  for (bool slice : {true, false}) {
    test::TestGame game(".code\n .word 0x800F0000\n WaitFrame\n");  // pops one value
    auto& ps = game.m().paramStack;
    for (int i = 0; i < 1023; ++i) ps.push(i);
    EXPECT_NE(test::errorOf([&] { ps.push(99); }), "");
    if (slice)
      game.slice();
    else
      step(game.m());
    EXPECT_EQ(ps.getCount(), 1023) << slice;
    EXPECT_EQ(ps.pop(), 1022) << slice;
  }
}

TEST(Dispatch, CodeReplacedInPlaceIsDecodedAgain) {
  test::TestGame game(".code\n 1 WaitFrame\n");
  game.m().code[0] = static_cast<uint32_t>(Op::End);
  decodeCode(game.m());
  game.slice();
  EXPECT_EQ(game.m().endRequested, 1);
  EXPECT_TRUE(game.stack().empty());
}

TEST(CoreGroup, DataMemoryWordsAndBytes) {
  test::TestGame game(
      ".code\n"
      " 0x11223344 5 StoreWord\n"  // v, k
      " 5 LoadWord\n"
      " 5 1 LoadByte\n"            // k = 5, j = 1: byte 21 = 0x33 (little-endian)
      " 0x1AB 10 5 StoreByte\n"    // k = 10, j = 5: byte 45 = 0xAB
      " 11 LoadWord\n"             // bytes 44..47
      " WaitFrame\n"
      ".data\n .space 64\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), (Stack{0x11223344, 0x33, 0xAB00}));
  EXPECT_EQ(game.m().data[45], 0xAB);
}

TEST(CoreGroup, DataAccessOutsideDataMemoryRaises9AndConsumesTheOperands) {
  struct Case {
    const char* code;
  };
  const Case cases[] = {{"16 LoadWord"}, {"-1 LoadWord"}, {"7 16 StoreWord"}, {"16 0 LoadByte"},
                        {"-1 0 LoadByte"}, {"1 64 0 StoreByte"}, {"0x7FFFFFFF LoadWord"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    test::TestGame game(std::string(".code\n 42 ") + c.code + "\n.data\n .space 64\n");
    EXPECT_EQ(game.slice(), "データメモリの範囲外を参照しました(9)");
    EXPECT_EQ(game.stack(), Stack{42});
  }
}

TEST(CoreGroup, StackShuffles) {
  test::TestGame game(".code\n 1 2 Over\n 7 Dup\n 8 9 Swap\n 5 Drop\n WaitFrame\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), (Stack{1, 2, 1, 7, 7, 9, 8}));
}

TEST(CoreGroup, JumpsTakeTheirTargetWithPcPastTheOperation) {
  test::TestGame game(
      ".code\n"
      "      skip Jump 111\n"
      "skip: 0 JumpRelative\n"           // d = 0 goes on with the next word
      "      2 JumpRelative 222 222\n"   // skips two words
      "      1 there JumpIf 333\n"
      "there: 0 nowhere JumpIf\n"        // false: falls through
      "      0 fine JumpIfNot 444\n"
      "fine: 1 2 JumpRelativeIf 555 555\n"
      "      1 1 JumpRelativeIfNot 6\n"
      "nowhere: WaitFrame\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), Stack{6});
}

TEST(CoreGroup, CallAndReturn) {
  test::TestGame game(
      ".code\n"
      "      sub Call 2\n"
      "      2 CallRelative 4 WaitFrame\n"  // back here after the relative call
      "      5 Return\n"
      "sub:  1 Return\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.stack(), (Stack{1, 2, 5, 4}));
  EXPECT_EQ(game.m().returnStack.getCount(), 0);
}

TEST(CoreGroup, CallOnEmptyStackLeavesTheReturnAddress) {
  test::TestGame game(".code\n Call\n");
  EXPECT_EQ(game.slice(), "スクリプトの不正でスタックが空になりました(67)");
  ASSERT_EQ(game.m().returnStack.getCount(), 1);
  EXPECT_EQ(game.m().returnStack.getItems()[0], 1);
}

TEST(CoreGroup, DropReturnsLeavesSubroutines) {
  test::TestGame game(
      ".code\n"
      "      a Call\n"
      "a:    b Call\n"
      "b:    2 DropReturns 7 WaitFrame\n");
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.m().returnStack.getCount(), 0);
  test::TestGame tooMany(".code\n a Call\na: 5 DropReturns\n");
  EXPECT_EQ(tooMany.slice(), "スクリプトの不正でスタックが空になりました(67)");
  EXPECT_EQ(tooMany.m().returnStack.getCount(), 0);
}

TEST(CoreGroup, ReturnWithoutCallRaises67) {
  test::TestGame game(".code\n 1 Return\n");
  EXPECT_EQ(game.slice(), "スクリプトの不正でスタックが空になりました(67)");
  EXPECT_EQ(game.stack(), Stack{1});
  EXPECT_EQ(game.m().pc, 2);
}

TEST(Slice, WaitFrameFirstRunsExactlyOneInstruction) {
  test::TestGame game(".code\n WaitFrame 1 2 3\n");
  game.slice();
  EXPECT_EQ(game.m().pc, 1);
  EXPECT_TRUE(game.stack().empty());
  game.slice();  // still waiting: the frame work has not cleared the flag
  EXPECT_EQ(game.m().pc, 1);
}

TEST(Slice, EndStopsBeforeTheNextInstruction) {
  test::TestGame game(".code\n 1 End 2\n");
  game.slice();
  EXPECT_EQ(game.m().endRequested, 1);
  EXPECT_EQ(game.stack(), Stack{1});
}

TEST(Slice, EndlessLoopEndsAtTheBudgetAndGoesOnNextTick) {
  // 3 Neg JumpRelative: d = -3 leads back to the literal.
  test::TestGame game(".code\n 3 Neg JumpRelative\n");
  game.m().instructionsPerTick = 100000;
  EXPECT_EQ(game.slice(), "");
  // 100000 = 33333 loops of 3 plus one literal.
  EXPECT_EQ(game.m().pc, 1);
  EXPECT_EQ(game.stack(), Stack{3});
  EXPECT_EQ(game.slice(), "");
  EXPECT_EQ(game.m().pc, 2);
}

TEST(Slice, WaitDrawnFrameResetsTheSkipCount) {
  test::TestGame game(".code\n WaitDrawnFrame 1\n");
  game.m().skippedFrames = 12;
  game.slice();
  EXPECT_EQ(game.m().drawnFrameWait, 1);
  EXPECT_EQ(game.m().skippedFrames, 0);
  EXPECT_TRUE(game.stack().empty());
}

TEST(Slice, NothingRunsWhileADebugBoxIsOpen) {
  test::TestGame game(".code\n 1 WaitFrame\n");
  game.m().debugBoxOpen = 1;
  game.slice();
  EXPECT_EQ(game.m().pc, 0);
}

TEST(Slice, PushesOntoAFullStackRaise66WithoutWritingPastIt) {
  // Dup forever: the 1023rd value is the last one held.
  test::TestGame game(".code\n 1\nloop: Dup loop Jump\n");
  EXPECT_EQ(game.slice(), "スクリプトの不正でスタックが満杯になりました(66)");
  EXPECT_EQ(game.m().paramStack.getCount(), 1024);
  // The stack is still sound: the next slice faults again instead of writing further.
  EXPECT_EQ(game.slice(), "スクリプトの不正でスタックが満杯になりました(66)");
  EXPECT_EQ(game.m().paramStack.getCount(), 1024);
}

}  // namespace
}  // namespace kelvox::vm
