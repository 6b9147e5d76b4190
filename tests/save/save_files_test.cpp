// Saved games and stack files: the bytes written, checked against the layout computed here, and
// every damaged file refused with the machine left as it was.
#include <gtest/gtest.h>

#include "common/fatal_error.h"
#include "save/slot_names.h"
#include "save/stack_file.h"
#include "save/state_file.h"
#include "support/test_game.h"

namespace kelvox::save {
namespace {

using Bytes = std::vector<uint8_t>;

void word(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
Bytes xor5C(Bytes b) {
  for (auto& x : b) x ^= 0x5C;
  return b;
}

// Sixteen code words: a restored pc must lie inside the code, so there is room for the pcs the
// tests use.
const std::string kSixteenWords = [] {
  std::string s;
  for (int i = 0; i < 16; ++i) s += " WaitFrame\n";
  return s;
}();

// A machine with 16 code words, 8 bytes of data "ABCDEFG\0", pc 5, returnStack [70],
// paramStack [-1, 2].
struct Machine {
  Machine() : game(".code\n" + kSixteenWords + ".data\n .string \"ABCDEFG\"\n") {
    game.m().pc = 5;
    game.m().returnStack.push(70);
    game.m().paramStack.push(-1);
    game.m().paramStack.push(2);
  }
  vm::MachineContext& m() { return game.m(); }
  // Everything a refused file must leave alone.
  auto snapshot() {
    return std::make_tuple(m().pc, m().data, game.stack(), m().returnStack.getCount(), m().justRestored);
  }
  test::TestGame game;
};

Bytes plainState(uint32_t pc, uint32_t d, std::vector<uint32_t> rs, std::vector<uint32_t> ps, const std::string& data) {
  Bytes b;
  word(b, pc);
  word(b, d);
  word(b, static_cast<uint32_t>(rs.size()));
  word(b, static_cast<uint32_t>(ps.size()));
  b.insert(b.end(), data.begin(), data.end());
  for (uint32_t v : rs) word(b, v);
  for (uint32_t v : ps) word(b, v);
  return b;
}

TEST(SlotNames, HundredSlotsAndTheQuickSlot) {
  struct Case {
    int32_t slot;
    const char *state, *thumb;
  } cases[] = {{0, "Save\\Save00", "Save\\SSHT00"}, {7, "Save\\Save07", "Save\\SSHT07"},
               {99, "Save\\Save99", "Save\\SSHT99"}, {100, "Save\\SaveQ", "Save\\SSHTTXT"}};
  for (Case c : cases) {
    EXPECT_EQ(stateFileName(c.slot), c.state);
    EXPECT_EQ(thumbnailFileName(c.slot), c.thumb);
  }
  for (int32_t bad : {-1, 101, INT32_MIN}) {
    EXPECT_FALSE(stateFileName(bad));
    EXPECT_FALSE(thumbnailFileName(bad));
  }
}

TEST(StateFile, WrittenByteForByteAsTheLayout) {
  Machine g;
  std::string data("ABCDEFG\0", 8);
  EXPECT_EQ(encodeState(g.m()), xor5C(plainState(5, 8, {70}, {0xFFFFFFFF, 2}, data)));
}

TEST(StateFile, RestoresEverythingAndMarksTheRestore) {
  Machine g;
  Bytes file = xor5C(plainState(3, 8, {}, {9, 8, 7}, std::string("abcdefgh")));
  applyState(g.m(), file);
  EXPECT_EQ(g.m().pc, 3);
  EXPECT_EQ(std::string(g.m().data.begin(), g.m().data.end()), "abcdefgh");
  EXPECT_EQ(g.game.stack(), (std::vector<int32_t>{9, 8, 7}));
  EXPECT_EQ(g.m().returnStack.getCount(), 0);
  EXPECT_EQ(g.m().justRestored, 1);
}

TEST(StateFile, DamagedFilesAreRefusedWithTheMachineUnchanged) {
  const std::string data(8, 'x');
  const Bytes good = plainState(1, 8, {1}, {2}, data);
  Bytes fullStack = plainState(1, 8, {}, std::vector<uint32_t>(1025, 0), data);
  Bytes shortFile(good.begin(), good.begin() + 15);
  Bytes cut(good.begin(), good.end() - 1);
  Bytes longer = good;
  longer.push_back(0);
  Bytes otherData = plainState(1, 12, {}, {}, data + "1234");
  Bytes rHuge = good;
  rHuge[8] = 0xFF, rHuge[9] = 0xFF, rHuge[10] = 0xFF, rHuge[11] = 0x7F;
  Bytes dHuge = good;
  dHuge[7] = 0xFF;
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},           {"15 bytes", shortFile}, {"one byte short", cut},
      {"one byte long", longer}, {"D is not dataSize", otherData}, {"P 1025", fullStack},
      {"R huge", rHuge},       {"D huge", dHuge},
  };
  for (const auto& [what, plain] : cases) {
    Machine g;
    auto before = g.snapshot();
    EXPECT_EQ(test::errorOf([&] { applyState(g.m(), xor5C(plain)); }), "セーブファイルに不正が見られます(24)") << what;
    EXPECT_EQ(g.snapshot(), before) << what;
  }
}

Bytes stackFile(std::vector<uint32_t> ps, std::vector<uint32_t> rs, uint32_t pc) {
  Bytes b;
  word(b, static_cast<uint32_t>(ps.size()));
  for (uint32_t v : ps) word(b, v);
  word(b, static_cast<uint32_t>(rs.size()));
  for (uint32_t v : rs) word(b, v);
  word(b, pc);
  return b;
}

TEST(StackFile, WrittenAsTheLayoutOverALongerOldFile) {
  Machine g;
  Bytes old(40, 0xEE);
  Bytes expected = stackFile({0xFFFFFFFF, 2}, {70}, 5);  // 24 bytes, then the old tail
  expected.insert(expected.end(), old.begin() + 24, old.end());
  EXPECT_EQ(encodeStacks(g.m(), old), expected);
  EXPECT_EQ(encodeStacks(g.m(), {}), stackFile({0xFFFFFFFF, 2}, {70}, 5));
}

TEST(StackFile, ACountOfTheFullCapacityLoadsAndAPushStaysInside) {
  Machine g;
  applyStacks(g.m(), stackFile(std::vector<uint32_t>(1024, 4), {}, 9));
  EXPECT_EQ(g.m().paramStack.getCount(), 1024);
  EXPECT_EQ(g.m().pc, 9);
  EXPECT_EQ(test::errorOf([&] { g.m().paramStack.push(1); }), "スクリプトの不正でスタックが満杯になりました(66)");
  EXPECT_EQ(g.m().paramStack.getCount(), 1024);
}

TEST(StackFile, BadCountsAndShortFilesAreRefusedWithTheMachineUnchanged) {
  Bytes good = stackFile({1, 2}, {3}, 4);
  struct Case {
    const char* what;
    Bytes file;
    const char* error;
  } cases[] = {
      {"P 1025", stackFile(std::vector<uint32_t>(1025, 0), {}, 0), "PSファイルの読み込みに失敗しました(20)"},
      {"R 1025", stackFile({}, std::vector<uint32_t>(1025, 0), 0), "PSファイルに不正が見られます(21)"},
      {"P past the end", Bytes(good.begin(), good.begin() + 8), "PSファイルに不正が見られます(21)"},
      {"no pc", Bytes(good.begin(), good.end() - 1), "PSファイルに不正が見られます(21)"},
      {"three bytes", Bytes(3, 0), "PSファイルに不正が見られます(21)"},
  };
  for (const Case& c : cases) {
    Machine g;
    auto before = g.snapshot();
    EXPECT_EQ(test::errorOf([&] { applyStacks(g.m(), c.file); }), c.error) << c.what;
    EXPECT_EQ(g.snapshot(), before) << c.what;
  }
}

}  // namespace
}  // namespace kelvox::save
