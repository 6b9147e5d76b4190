// The SDL platform on SDL's dummy drivers: one object builds the window, its screen, the
// dialogs and the sound device, and the bundle hands out exactly those.
#include "platform/sdl/sdl_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kelvox::platform::sdl {
namespace {

TEST(SdlPlatform, TheBundleIsTheWindowsServices) {
  const char* driver = std::getenv("KELVOX_TEST_VIDEODRIVER");
  setenv("SDL_VIDEODRIVER", driver != nullptr ? driver : "dummy", 1);
  std::string error;
  auto sdl = SdlPlatform::create("/nonexistent", "Zarveth Ver1.10", error);
  ASSERT_NE(sdl, nullptr) << error;
  Platform& p = sdl->platform();
  EXPECT_EQ(&p.window, static_cast<Window*>(&sdl->window()));
  EXPECT_EQ(&p.display, static_cast<DisplayDevice*>(&sdl->window().display()));
  EXPECT_EQ(&p.dialogs, static_cast<Dialogs*>(&sdl->dialogs()));
  EXPECT_EQ(p.window.caption(), "Zarveth Ver1.10");
  EXPECT_EQ(p.paths.gameFolder(), "/nonexistent");
  EXPECT_FALSE(p.audio.isOpen());  // the game opens it when it asks for sound
  // A second platform would need a second window: refused while this one lives.
  EXPECT_EQ(SdlPlatform::create("/nonexistent", "x", error), nullptr);
}

}  // namespace
}  // namespace kelvox::platform::sdl
