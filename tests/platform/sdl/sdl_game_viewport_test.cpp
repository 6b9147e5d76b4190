// Placement of the 4:3 game area in windows and screens of common sizes, and the pointer
// mapping both ways: a warp to a game pixel must come back as that pixel at every scale.
#include <gtest/gtest.h>

#include <climits>

#include "platform/sdl/game_viewport.h"

namespace kelvox::platform::sdl {
namespace {

struct Screen {
  const char* name;
  int width, height;
  GameViewport area;  // worked out by hand: the largest 4:3 rectangle, centred
};

const Screen kScreens[] = {
    {"window ×1", 640, 480, {0, 0, 640, 480}},
    {"window ×2", 1280, 960, {0, 0, 1280, 960}},
    {"window ×3", 1920, 1440, {0, 0, 1920, 1440}},
    {"XGA, 1.6", 1024, 768, {0, 0, 1024, 768}},
    {"full HD: bars left and right", 1920, 1080, {240, 0, 1440, 1080}},
    {"1366 × 768: odd bar split", 1366, 768, {171, 0, 1024, 768}},
    {"SXGA 5:4: bars above and below", 1280, 1024, {0, 32, 1280, 960}},
    {"slightly wide", 641, 480, {0, 0, 640, 480}},
    {"slightly larger, 1.09375", 700, 525, {0, 0, 700, 525}},
};

TEST(GameViewport, LargestCentredFourByThreeArea) {
  for (const Screen& s : kScreens) {
    GameViewport v = fitGameArea(s.width, s.height);
    EXPECT_EQ(v.x, s.area.x) << s.name;
    EXPECT_EQ(v.y, s.area.y) << s.name;
    EXPECT_EQ(v.w, s.area.w) << s.name;
    EXPECT_EQ(v.h, s.area.h) << s.name;
  }
}

TEST(GameViewport, DegenerateWindowsGiveAUsableArea) {
  struct Case {
    int width, height;
    GameViewport area;
  };
  const Case cases[] = {
      {0, 0, {0, 0, 640, 480}},
      {-5, 100, {0, 0, 640, 480}},
      {100, 0, {0, 0, 640, 480}},
      {1, 1, {0, 0, 1, 1}},  // never a zero-size area to divide by
      {3, 1000, {0, 499, 3, 2}},  // 3 × 2.25 → 3 × 2; (1000 − 2) / 2
  };
  for (const Case& c : cases) {
    GameViewport v = fitGameArea(c.width, c.height);
    EXPECT_EQ(v.x, c.area.x) << c.width << "x" << c.height;
    EXPECT_EQ(v.y, c.area.y) << c.width << "x" << c.height;
    EXPECT_EQ(v.w, c.area.w) << c.width << "x" << c.height;
    EXPECT_EQ(v.h, c.area.h) << c.width << "x" << c.height;
  }
}

TEST(GameViewport, WorkedExamplesBothWays) {
  const GameViewport x2 = fitGameArea(1280, 960);
  const GameViewport x3 = fitGameArea(1920, 1440);
  const GameViewport hd = fitGameArea(1920, 1080);  // 2.25 window pixels per game pixel, x from 240
  struct Case {
    const char* name;
    GameViewport v;
    Point game, window;  // gameToWindow(game) == window
  };
  const Case toWindow[] = {
      {"×2 origin: first of two pixels", x2, {0, 0}, {0, 0}},
      {"×2 inside", x2, {100, 50}, {200, 100}},
      {"×3 origin: middle of three", x3, {0, 0}, {1, 1}},
      {"×3 last pixel", x3, {639, 479}, {1918, 1438}},
      {"full HD origin: pixels 240..242", hd, {0, 0}, {241, 1}},
      {"full HD 1: pixels 243..244 (2.25..4.5)", hd, {1, 1}, {243, 3}},
      {"×2 left of the area", x2, {-1, -1}, {-2, -2}},
      {"×3 far away clamps", x3, {INT_MAX, INT_MIN}, {INT_MAX, INT_MIN}},
  };
  for (const Case& c : toWindow) {
    Point w = gameToWindow(c.v, c.game);
    EXPECT_EQ(w.x, c.window.x) << c.name;
    EXPECT_EQ(w.y, c.window.y) << c.name;
  }
  const Case toGame[] = {
      {"×2 second pixel of 100", x2, {100, 50}, {201, 101}},
      {"×2 last pixel of 99", x2, {99, 49}, {199, 99}},
      {"×3 bottom-right corner", x3, {639, 479}, {1919, 1439}},
      {"full HD: just left of the area", hd, {-1, 0}, {239, 0}},
      {"full HD: left screen edge", hd, {-107, 0}, {0, 0}},
      {"full HD: right bar", hd, {640, 479}, {1680, 1079}},
      {"full HD: below the screen", hd, {0, 480}, {240, 1080}},
  };
  for (const Case& c : toGame) {
    Point g = windowToGame(c.v, c.window);
    EXPECT_EQ(g.x, c.game.x) << c.name;
    EXPECT_EQ(g.y, c.game.y) << c.name;
  }
}

TEST(GameViewport, EveryGamePixelComesBackFromItsWarp) {
  for (const Screen& s : kScreens) {
    GameViewport v = fitGameArea(s.width, s.height);
    int failures = 0;
    for (int y = -2; y < kGameHeight + 2 && failures < 5; ++y) {
      for (int x = -2; x < kGameWidth + 2 && failures < 5; ++x) {
        Point w = gameToWindow(v, {x, y});
        Point back = windowToGame(v, w);
        if (back.x != x || back.y != y) {
          ++failures;
          ADD_FAILURE() << s.name << ": (" << x << ", " << y << ") -> window (" << w.x << ", "
                        << w.y << ") -> (" << back.x << ", " << back.y << ")";
        }
        bool inside = x >= 0 && x < kGameWidth && y >= 0 && y < kGameHeight;
        bool inWindow = w.x >= v.x && w.x < v.x + v.w && w.y >= v.y && w.y < v.y + v.h;
        if (inside != inWindow) {
          ++failures;
          ADD_FAILURE() << s.name << ": (" << x << ", " << y << ") lands at (" << w.x << ", "
                        << w.y << ")";
        }
      }
    }
  }
}

TEST(ComfortableScale, TheLargestWholeScaleThatLeavesRoomForTheFrame) {
  // The game is 640 × 480; a scale s needs 640s wide and 480s + 64 high.
  struct Case {
    int width, height, maxScale, scale;
  } cases[] = {
      {1920, 1040, 8, 2},  // 1080p less a panel: 960 + 64 = 1024 fits, 1440 + 64 does not
      {1920, 1000, 8, 1},  // 960 + 64 = 1024 is over 1000
      {1280, 1024, 8, 2},  // exactly 1280 wide and 1024 high
      {1279, 1024, 8, 1},
      {3840, 2100, 8, 4},  // 4K less a panel: 1920 + 64 = 1984
      {3840, 2100, 3, 3},  // capped
      {20000, 20000, 8, 8},
      {800, 600, 8, 1},    // 1 even when it is tight
      {0, 0, 8, 1},        // unknown desktop
      {-1, 900, 8, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(comfortableScale(c.width, c.height, c.maxScale), c.scale) << c.width << "x" << c.height;
}

}  // namespace
}  // namespace kelvox::platform::sdl
