// The SDL platform on SDL's dummy drivers: one object builds the window, its screen, the
// dialogs and the sound device, and the bundle hands out exactly those; the text hook's
// clipboard works beside them.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl/sdl_clipboard_sink.h"

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

  // The text hook's clipboard holds the last text, line breaks kept, controls written out.
  ClipboardTextSink clipboard;
  clipboard.put("一行目\n\x1b[2J二行目");
  char* text = SDL_GetClipboardText();
  EXPECT_STREQ(text, "一行目\n\\x1B[2J二行目");
  SDL_free(text);
}

}  // namespace
}  // namespace kelvox::platform::sdl
