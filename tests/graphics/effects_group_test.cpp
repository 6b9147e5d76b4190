// Group 0x800C through the frame loop: a transition walks the presentation states 0 → 1 → 2 →
// 3 → 4 → 0, the captures hold the pictures before and after, the pattern surfaces are gone
// while it runs and back after EndEffect.
#include "graphics/effects_group.h"

#include <gtest/gtest.h>

#include "graphics/pattern_store.h"
#include "shell/engine_host.h"
#include "support/test_game.h"

namespace kelvox::graphics {
namespace {

TEST(EffectsGroup, ATransitionWalksThePresentationStates) {
  kelvox::test::TestGame game(
      ".code\n64 48 0 SetScreenMode\n"
      "64 48 255 0 1 GeneratePattern 0 0 0 0 1 SetSprite\n"
      "WaitDrawnFrame 1 BeginEffect WaitDrawnFrame\n"
      "64 48 65280 0 2 GeneratePattern 0 0 0 0 2 SetSprite PrepareEffect WaitDrawnFrame\n"
      "GetEffectSteps 1000 DrawEffect WaitDrawnFrame\n"
      "EndEffect WaitDrawnFrame End\n");
  vm::MachineContext& m = game.m();
  platform::HeadlessDisplay& screen = game.platform->display();
  shell::frameTick(*game.host);
  EXPECT_EQ(screen.pixel(5, 5), 0x0000FFu);
  shell::frameTick(*game.host);  // BeginEffect: the old picture into the backup buffer
  EXPECT_EQ(m.transitionState, vm::kHoldScreen);
  EXPECT_EQ(m.transitionEffect, 1);
  EXPECT_EQ(m.display->BackupBuffer()->rawPixel(5, 5), 0x0000FFu);
  int shown = screen.framesPresented();
  shell::frameTick(*game.host);  // PrepareEffect: the new one, and the transition surfaces
  EXPECT_EQ(m.transitionState, vm::kShowTransition);
  EXPECT_EQ(screen.framesPresented(), shown);  // nothing shown while the scene was rebuilt
  ASSERT_NE(m.effectSurface1, nullptr);
  EXPECT_EQ(m.effectSurface1->rawPixel(5, 5), 0x0000FFu);
  EXPECT_EQ(m.effectSurface2->rawPixel(5, 5), 0x00FF00u);
  EXPECT_EQ(patternAt(m, 2)->pattern->surface, nullptr);
  shell::frameTick(*game.host);  // the final step, shown as drawn
  EXPECT_EQ(game.stack(), std::vector<int32_t>{64});  // GetEffectSteps of kind 1
  EXPECT_EQ(screen.pixel(5, 5), 0x00FF00u);
  shell::frameTick(*game.host);  // EndEffect
  EXPECT_EQ(m.transitionState, vm::kPresentFrame);
  EXPECT_EQ(m.effectSurface1, nullptr);
  ASSERT_NE(patternAt(m, 2)->pattern->surface, nullptr);
  EXPECT_EQ(patternAt(m, 2)->pattern->surface->rawPixel(0, 0), 0x00FF00u);
}

TEST(EffectsGroup, CreatingTheTransitionSurfacesCanFailWith54) {
  kelvox::test::TestGame game(".code\n64 48 0 SetScreenMode 0 BeginEffect WaitDrawnFrame PrepareEffect WaitDrawnFrame End\n");
  shell::frameTick(*game.host);
  game.platform->surfaces().failNthCreation(1);
  std::string error = kelvox::test::errorOf([&] { shell::frameTick(*game.host); });
  EXPECT_NE(error.find("エフェクト用サーフェイス２の生成に失敗しました(54)"), std::string::npos) << error;
  game.platform->surfaces().failNthCreation(2);
  game.m().transitionState = vm::kCaptureAfter;
  error = kelvox::test::errorOf([&] { shell::frameTick(*game.host); });
  EXPECT_NE(error.find("エフェクト用サーフェイス１の生成に失敗しました(54)"), std::string::npos) << error;
  EXPECT_EQ(game.m().effectSurface2, nullptr);
}

}  // namespace
}  // namespace kelvox::graphics
