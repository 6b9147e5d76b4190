// Where the 640 × 480 game area sits in a window of any size, and the mapping of pointer
// positions between window pixels and game pixels. The game area is scaled as large as fits
// with its 4:3 aspect kept and centred; black bars fill the rest. Plain arithmetic, no SDL.
#pragma once

namespace kelvox::platform::sdl {

inline constexpr int kGameWidth = 640;   // game pixels
inline constexpr int kGameHeight = 480;

struct GameViewport {
  int x = 0, y = 0;                        // top-left of the game area, window pixels
  int w = kGameWidth, h = kGameHeight;     // its size, window pixels (≥ 1)
};

struct Point {
  int x = 0, y = 0;
};

// The game area in a window of [width] × [height] pixels. A size ≤ 0 (a window being
// minimised) gives the unscaled area at the origin.
GameViewport fitGameArea(int width, int height);

// The game pixel under window pixel [window]. Points on the bars, or outside the window while
// the pointer is captured, give coordinates outside 0..639 × 0..479 (negative to the left and
// above), as the client coordinates of a captured pointer would.
Point windowToGame(const GameViewport& viewport, Point window);

// The window pixel at the middle of the window pixels that show game pixel [game], so that
// windowToGame of the result is [game] again whenever the area is at least game size. Any
// point may be asked, also outside the area.
Point gameToWindow(const GameViewport& viewport, Point game);

// The window scale a player gets without asking: the largest whole number (1..[maxScale]) at
// which the game area fits a desktop whose usable part is [usableWidth] × [usableHeight]
// pixels with kFrameRoom pixels left over below for the window's title bar and frame; 1 when
// even that does not fit or the desktop is unknown (a size ≤ 0).
inline constexpr int kFrameRoom = 64;  // pixels, a generous title bar and borders
int comfortableScale(int usableWidth, int usableHeight, int maxScale);

}  // namespace kelvox::platform::sdl
