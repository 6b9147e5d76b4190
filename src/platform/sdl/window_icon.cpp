// Handing the compiled-in icon to SDL, which copies it to the window system.
#include "platform/sdl/window_icon.h"

#include <SDL.h>

namespace kelvox::platform::sdl {

void setWindowIcon(SDL_Window* window) {
  // SDL reads the pixels in place and copies them, so the constant table is never written.
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(kWindowIconRgba), kWindowIconSize,
                                                         kWindowIconSize, 32, kWindowIconSize * 4, SDL_PIXELFORMAT_RGBA32);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

}  // namespace kelvox::platform::sdl
