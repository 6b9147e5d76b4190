// TDisplay over the headless surfaces: the changed rectangle, Initialise's depths and fatal
// errors, the fallback from full screen, what Refresh, Present and ComposeInto draw, surface
// loss, and SetScreenMode bringing the display up.
#include "graphics/display.h"

#include <gtest/gtest.h>

#include "common/fatal_error.h"
#include "platform/headless/headless_display.h"
#include "shell/screen_mode_group.h"
#include "support/test_game.h"

namespace kelvox::graphics {
namespace {

using platform::SurfaceResult;

struct Display : ::testing::Test {
  platform::HeadlessDisplay screen;
  platform::SurfaceDevice device{screen};
  TDisplay display{device};
  void bringUp(int w, int h, int depth = 0, bool fullScreen = false) {
    display.Create();
    display.Configure(w, h, depth, fullScreen);
    display.Initialise();
  }
  // The error code Initialise raises, or 0.
  int initialiseCode() {
    try {
      bringUp(8, 4);
    } catch (const common::FatalError& e) {
      return e.code();
    }
    return 0;
  }
};

TEST_F(Display, ChangedRectangleGrowsEdgeByEdgeAndClampsToTheScreen) {
  bringUp(100, 50);
  const struct { common::Rect before, add, after; } cases[] = {
      {kNothingChanged, {10, 20, 30, 40}, {10, 20, 30, 40}},
      {{10, 20, 30, 40}, {5, 25, 35, 30}, {5, 20, 35, 40}},
      {kNothingChanged, {-5, -7, 120, 60}, {0, 0, 100, 50}},
      // Only edges that move outwards are taken, so a sprite wholly right of the screen
      // leaves its left edge past the clamped right one.
      {kNothingChanged, {150, 10, 170, 20}, {150, 10, 100, 20}},
      {{0, 0, 100, 50}, {20, 20, 30, 30}, {0, 0, 100, 50}},
  };
  for (const auto& c : cases) {
    display.Compose();  // empties the rectangle
    if (!(c.before == kNothingChanged)) display.MarkChanged(c.before);
    display.MarkChanged(c.add);
    EXPECT_EQ(display.changedRect(), c.after);
    EXPECT_TRUE(display.changed());
  }
  display.Compose();
  EXPECT_EQ(display.changedRect(), kNothingChanged);
  EXPECT_FALSE(display.changed());
  display.InvalidateAll();
  EXPECT_EQ(display.changedRect(), (common::Rect{0, 0, 100, 50}));
}

TEST_F(Display, InitialiseDetectsTheDesktopDepth) {
  for (int depth : {8, 15, 16, 24, 32}) {
    device.setDesktopDepth(depth);
    bringUp(16, 8);
    EXPECT_EQ(display.depth(), depth);
    ASSERT_NE(display.rowOps(), nullptr);
    EXPECT_EQ(display.rowOps()->depth, depth);
    EXPECT_TRUE(display.initialised());
    EXPECT_EQ(display.changedRect(), (common::Rect{0, 0, 16, 8}));
    EXPECT_EQ(display.BackBuffer()->memory(), platform::SurfaceMemory::VideoAllowed);
    EXPECT_EQ(display.BackBuffer()->width(), 16);
    EXPECT_EQ(display.BackupBuffer()->memory(), platform::SurfaceMemory::System);
  }
}

TEST_F(Display, WithoutVideoMemoryTheSystemBackBufferServes) {
  device.setVideoMemoryAvailable(false);
  bringUp(8, 4);
  ASSERT_NE(display.BackBuffer(), nullptr);
  EXPECT_EQ(display.BackBuffer()->memory(), platform::SurfaceMemory::System);
}

TEST_F(Display, EachFailingSurfaceHasItsError) {
  // Creations in order: primary, video back buffer, system back buffer, work, backup.
  const struct { int failing; bool videoMemory; int code; } cases[] = {
      {1, true, 44}, {2, true, 0}, {3, true, 0}, {3, false, 48}, {4, true, 54}, {5, true, 55},
  };
  for (auto c : cases) {
    device.setVideoMemoryAvailable(c.videoMemory);
    device.failNthCreation(c.failing);
    EXPECT_EQ(initialiseCode(), c.code) << c.failing;
    device.failNthCreation(0);
  }
  platform::PixelFormat bgr565{16, 0x001F, 0x07E0, 0xF800};
  device.forcePrimaryFormat(&bgr565);
  EXPECT_EQ(initialiseCode(), 49);
  platform::PixelFormat rgb555{16, 0x7C00, 0x03E0, 0x001F};
  device.forcePrimaryFormat(&rgb555);
  EXPECT_EQ(initialiseCode(), 0);
  EXPECT_EQ(display.depth(), 15);
}

TEST(DisplayFullScreen, RefusedFullScreenFallsBackToAWindowThatDrawsWhileInactive) {
  platform::HeadlessDisplay screen;
  screen.refuseFullscreen(true);
  platform::SurfaceDevice device{screen};
  TDisplay display{device};
  display.Create();
  display.Configure(8, 4, 32, true);
  display.Initialise();
  EXPECT_FALSE(display.fullScreen());
  display.Refresh();
  EXPECT_EQ(screen.framesPresented(), 1);
}

TEST_F(Display, FullScreenInactiveRefreshesNothingButComposeIntoStillCopies) {
  bringUp(8, 4, 32, true);
  ASSERT_TRUE(display.fullScreen());
  EXPECT_TRUE(screen.fullscreen());
  display.BackBuffer()->colorFill(nullptr, 0x123456);  // not composed: nothing clears it
  display.Refresh();
  EXPECT_EQ(screen.framesPresented(), 0);
  display.ComposeInto(display.WorkBuffer());
  EXPECT_EQ(display.WorkBuffer()->rawPixel(7, 3), 0x123456u);
  display.SetActive(true);
  display.Refresh();
  EXPECT_EQ(screen.framesPresented(), 1);
  EXPECT_EQ(screen.pixel(7, 3), 0u);  // composed now: the whole screen was changed
  display.Teardown(false);
  EXPECT_FALSE(screen.fullscreen());
  EXPECT_FALSE(display.initialised());
  EXPECT_EQ(display.BackBuffer(), nullptr);
}

TEST_F(Display, OnlyTheChangedRegionIsRedrawn) {
  bringUp(8, 4);
  display.Refresh();  // clears everything once
  display.BackBuffer()->colorFill(nullptr, 0x00FF00);
  display.Refresh();  // nothing changed: the picture stays as it is
  EXPECT_EQ(screen.pixel(0, 0), 0x00FF00u);
  display.MarkChanged({2, 1, 4, 3});
  display.Refresh();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(screen.pixel(x, y), (x >= 2 && x < 4 && y >= 1 && y < 3) ? 0u : 0x00FF00u) << x << "," << y;
}

TEST_F(Display, AStillScreenIsNotPresentedAgainAndAChangeShowsOnlyItsArea) {
  bringUp(8, 4);
  display.Refresh();  // the first frame, whole
  for (int i = 0; i < 3; ++i) display.Refresh();
  EXPECT_EQ(screen.framesPresented(), 1);  // nothing changed: nothing new is shown
  display.MarkChanged({2, 1, 4, 3});
  display.Refresh();
  EXPECT_EQ(screen.lastArea(), (platform::FrameArea{2, 1, 2, 2}));
  // A transition step draws into the back buffer without the compositor: all of it is shown.
  display.BackBuffer()->colorFill(nullptr, 0x123456);
  display.Present();
  display.Present();
  EXPECT_EQ(screen.framesPresented(), 3);
  EXPECT_EQ(screen.lastArea(), (platform::FrameArea{0, 0, 8, 4}));
  // A restored primary holds junk: the corner's failed blit is followed by all of it.
  display.Primary()->markLost();
  display.MarkChanged({0, 0, 1, 1});
  display.Refresh();
  EXPECT_EQ(screen.lastArea(), (platform::FrameArea{0, 0, 8, 4}));
  EXPECT_EQ(screen.pixel(0, 0), 0u);
  EXPECT_EQ(screen.pixel(7, 3), 0x123456u);
}

TEST_F(Display, LostSurfacesAreRestoredAndRedrawnWhole) {
  bringUp(8, 4);
  display.Refresh();
  device.loseAllSurfaces();
  display.Refresh();  // back buffer restored and cleared whole, primary restored on the retry
  EXPECT_EQ(screen.framesPresented(), 2);
  EXPECT_EQ(screen.pixel(5, 2), 0u);  // not the junk of a restored surface
  // A back buffer that cannot come back skips the frame and keeps the whole screen changed.
  device.loseAllSurfaces();
  device.setRestoreRefused(true);
  display.Refresh();
  EXPECT_EQ(screen.framesPresented(), 2);
  EXPECT_EQ(display.changedRect(), (common::Rect{0, 0, 8, 4}));
}

TEST_F(Display, SecondInitialiseRebuildsAtTheNewSize) {
  bringUp(8, 4);
  display.Configure(6, 2, 0, false);
  display.Initialise();
  EXPECT_EQ(display.BackBuffer()->width(), 6);
  display.Refresh();
  EXPECT_EQ(screen.frameWidth(), 6);
  EXPECT_EQ(screen.frameHeight(), 2);
}

TEST(DisplayHost, SetScreenModeBringsTheDisplayUpAtTheDesktopDepth) {
  test::TestGame game{".code\nEnd\n"};
  game.platform->surfaces().setDesktopDepth(16);
  vm::MachineContext& m = game.m();
  ASSERT_NE(m.display, nullptr);
  EXPECT_FALSE(m.display->initialised());
  shell::setScreenMode(m, 0, 48, 64);
  EXPECT_TRUE(m.display->initialised());
  EXPECT_EQ(m.display->width(), 64);
  EXPECT_EQ(m.display->depth(), 16);
  EXPECT_FALSE(m.display->fullScreen());
  shell::setScreenMode(m, 1, 48, 64);
  EXPECT_TRUE(m.display->fullScreen());
  EXPECT_TRUE(game.platform->display().fullscreen());
}

}  // namespace
}  // namespace kelvox::graphics
