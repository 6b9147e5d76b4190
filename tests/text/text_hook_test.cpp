// The text hook: what counts as shown (a text once, when all of it is drawn; appended text as
// its new part) and a game's reveal seen through a sink, with a refill in between.
#include "text/text_hook.h"

#include <gtest/gtest.h>

#include "graphics/pattern_store.h"
#include "platform/text_sink.h"
#include "support/test_game.h"

namespace kelvox::text {
namespace {

constexpr uint32_t kAll = 0xFFFFFFFF;  // a negative limit: no limit

TEST(TextHook, ATextCountsOnceWhenAllOfItIsDrawn) {
  const std::string ai = "\x82\xA0\x82\xA2";  // "あい" in Shift-JIS
  struct Draw {
    int window;
    std::string text;  // the window's text at the draw
    uint32_t limit;
    const char* handed;  // what the draw hands out; null: nothing
  };
  struct Case {
    const char* name;
    std::vector<Draw> draws;
  } cases[] = {
      {"typewriter reveal, then drawn again", {{0, ai, 0, nullptr}, {0, ai, 2, nullptr}, {0, ai, 4, "あい"}, {0, ai, kAll, nullptr}}},
      {"a limit on the last character's lead byte shows it whole", {{0, ai, 3, "あい"}}},
      {"a NUL ends the text", {{0, std::string("ab\0cd", 5), 2, "ab"}}},
      {"carriage returns break lines, a line feed after one belongs to it, none at the ends",
       {{0, "\rone\r\ntwo\r\rthree\r", kAll, "one\ntwo\n\nthree"}}},
      {"appended text gives its new part", {{0, "one", kAll, "one"}, {0, "one\rtwo", 3, nullptr}, {0, "one\rtwo", kAll, "two"}}},
      {"revealed again from its start, it counts again", {{0, "one", kAll, "one"}, {0, "one", 0, nullptr}, {0, "one", kAll, "one"}}},
      {"another text, an empty one, another window",
       {{0, "one", kAll, "one"}, {0, "two", kAll, "two"}, {0, "\r\r", kAll, nullptr}, {1, "two", kAll, "two"}}},
  };
  for (const Case& c : cases) {
    TextHook hook;
    TextWindow w;
    for (const Draw& d : c.draws) {
      w.clear();
      w.append(d.text);
      std::optional<std::string> handed = hook.drawn(d.window, w, d.limit);
      EXPECT_EQ(handed, d.handed ? std::optional<std::string>(d.handed) : std::nullopt) << c.name;
    }
  }
}

struct CapturingSink : platform::TextSink {
  void put(std::string_view utf8) override { lines.emplace_back(utf8); }
  std::vector<std::string> lines;
};

TEST(TextHook, AGameRevealGivesOneLineAndARefillNone) {
  test::TestGame game(
      ".code\n"
      "64 48 0 SetScreenMode 16 60 40 5 TextInit msg 5 TextAddString\n"
      "0\n"
      "reveal: Dup 7 Swap 5 TextDraw WaitFrame 1 Add Dup 14 LtS reveal JumpIf\n"
      "Drop 7 -1 5 TextDraw WaitFrame\n"         // drawn whole once more
      "5 TextClear second 5 TextAddString 7 -1 5 TextDraw WaitFrame End\n"
      ".data\nmsg: .string \"一行目\\r二行目\"\nsecond: .string \"\\x1B[2Jつぎ\"\n");
  CapturingSink sink;
  game.platform->platform().textSink = &sink;
  auto frame = [&] {  // one slice, as the frame tick runs it after a WaitFrame
    game.m().frameWait = 0;
    return game.slice();
  };
  for (int i = 0; i < 13; ++i) ASSERT_EQ(frame(), "");
  EXPECT_EQ(sink.lines, std::vector<std::string>{"一行目\n二行目"});
  game.platform->surfaces().loseAllSurfaces();
  ASSERT_EQ(graphics::RestorePatterns(*game.m().display), 0);  // the snapshot draws it again
  for (int i = 0; i < 3; ++i) ASSERT_EQ(frame(), "");
  ASSERT_EQ(sink.lines.size(), 2u);
  EXPECT_EQ(platform::hookLine(sink.lines[1]), "\\x1B[2Jつぎ");
}

}  // namespace
}  // namespace kelvox::text
