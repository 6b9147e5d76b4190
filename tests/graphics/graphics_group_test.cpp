// Group 0x8008 from scripts: range errors naming the command, commands on empty entries,
// GetPatternSize's order, and a small scene run through the frame loop onto the screen.
#include "graphics/graphics_group.h"

#include <gtest/gtest.h>

#include "graphics/pattern_store.h"
#include "shell/engine_host.h"
#include "support/test_game.h"

namespace kelvox::graphics {
namespace {

using Stack = std::vector<int32_t>;

// A 64 × 48 window first, then [code], then a wait for a drawn frame.
struct Script {
  explicit Script(const std::string& code) : game(".code\n64 48 0 SetScreenMode\n" + code + "\nWaitDrawnFrame\nEnd\n") {}
  kelvox::test::TestGame game;
};

TEST(GraphicsGroup, RangeErrorsNameTheCommandAndTheSpriteComesFirst) {
  const struct { const char* code; const char* error; } cases[] = {
      {"-1 0 0 0 0 SetSprite", "SetSpriteに指定するスプライト番号の範囲オーバー(30)"},
      {"0 0 0 0 1024 SetSprite", "SetSpriteに指定するパターン番号の範囲オーバー(31)"},
      {"1024 0 0 0 5000 SetSprite", "SetSpriteに指定するスプライト番号の範囲オーバー(30)"},
      {"4 4 0 0 1024 GeneratePattern", "GeneratePatternに指定するパターン番号の範囲オーバー(31)"},
      {"1024 DestroySprite", "DestroySpriteに指定するスプライト番号の範囲オーバー(30)"},
      {"1024 0 0 1 1 SetSpriteRect", "SetSpriteRectに指定するスプライト番号の範囲オーバー(30)"},
      {"1024 0 SetAlphaRate", "SetAlphaRateに指定するスプライト番号の範囲オーバー(30)"},
      {"0 0 0 1 1 0 0 1 1 0 1024 SetSpriteEx", "SetSpriteExに指定するパターン番号の範囲オーバー(31)"},
      {"1024 1 1 0 0 1 1 SetSpriteRectEx", "SetSpriteRectExに指定するスプライト番号の範囲オーバー(30)"},
      {"0 0 1 1 0 -5 MakePackedPattern", "MakePackedPatternに指定するパターン番号の範囲オーバー(31)"},
      {"2000 GetPatternSize", "GetPatternSizeに指定するパターン番号の範囲オーバー(31)"},
  };
  for (auto c : cases) {
    Script s(c.code);
    std::string error = s.game.slice();
    EXPECT_NE(error.find(c.error), std::string::npos) << c.code << ": " << error;
  }
}

TEST(GraphicsGroup, CommandsOnEmptyEntries) {
  const struct { const char* code; Stack stack; } cases[] = {
      {"3 10 10 0 7 SetSprite 3 GetPatternSize", {0, 0}},  // nothing created
      {"5000 DestroyPattern 7 DestroyPattern 3 DestroySprite 3 100 SetAlphaRate", {}},
      {"30 20 255 0 7 GeneratePattern 7 GetPatternSize", {20, 30}},  // width on top
      {"8 6 255 0 7 GeneratePattern 7 DestroyPattern 7 GetPatternSize", {0, 0}},
  };
  for (auto c : cases) {
    Script s(c.code);
    EXPECT_EQ(s.game.slice(), "") << c.code;
    EXPECT_EQ(s.game.stack(), c.stack) << c.code;
  }
}

TEST(GraphicsGroup, ASceneReachesTheScreenAndIsCapturedBack) {
  Script s(
      // pattern 1: 64 × 48 dark blue (mode 0); pattern 2: 8 × 8 red (mode 1)
      "64 48 32 0 1 GeneratePattern\n"
      "8 8 16711680 1 2 GeneratePattern\n"
      "0 0 0 10 1 SetSprite\n"          // sprite 0: the background, at the back
      "1 60 44 0 2 SetSprite\n"         // sprite 1: red, hanging over the bottom right corner
      "2 -4 -4 0 2 SetSprite\n"         // sprite 2: red, over the top left corner
      "3 20 10 16 16 0 0 8 8 0 2 SetSpriteEx\n"  // sprite 3: red doubled to 16 × 16
      "2 DestroySprite\n"
      "56 40 16 16 0 3 MakePackedPattern 3 GetPatternSize");
  EXPECT_EQ(s.game.slice(), "");
  EXPECT_EQ(s.game.stack(), (Stack{8, 8}));  // clipped to the screen
  shell::frameTick(*s.game.host);
  platform::HeadlessDisplay& screen = s.game.platform->display();
  ASSERT_EQ(screen.frameWidth(), 64);
  EXPECT_EQ(screen.pixel(0, 0), 0x000020u);   // sprite 2 was destroyed
  EXPECT_EQ(screen.pixel(63, 47), 0xFF0000u);
  EXPECT_EQ(screen.pixel(59, 43), 0x000020u);
  EXPECT_EQ(screen.pixel(20, 10), 0xFF0000u);
  EXPECT_EQ(screen.pixel(35, 25), 0xFF0000u);
  EXPECT_EQ(screen.pixel(36, 26), 0x000020u);
  // The capture holds the corner as composed: blue, then red from (60, 44).
  vm::MachineContext& m = s.game.m();
  ASSERT_NE(patternAt(m, 3), nullptr);
  const std::vector<uint32_t>& captured = patternAt(m, 3)->pattern->pixels;
  EXPECT_EQ(captured[0], 0x000020u);
  EXPECT_EQ(captured[4 * 8 + 4], 0xFF0000u);
}

}  // namespace
}  // namespace kelvox::graphics
