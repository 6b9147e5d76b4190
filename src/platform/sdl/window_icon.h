// The window's icon: the program's icon painted by the build (tools/kelvox_icon.cpp) and
// compiled in, so the window shows it wherever the program lies, installed or not.
#pragma once

struct SDL_Window;

namespace kelvox::platform::sdl {

inline constexpr int kWindowIconSize = 64;  // pixels a side
// kWindowIconSize² pixels of R, G, B, A bytes (alpha not premultiplied), rows top first.
extern const unsigned char kWindowIconRgba[kWindowIconSize * kWindowIconSize * 4];

// Gives [window] the icon; a window system without icons just goes without.
void setWindowIcon(SDL_Window* window);

}  // namespace kelvox::platform::sdl
