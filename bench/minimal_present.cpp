// kelvox-minimal-present: the cost of a window and nothing else. Opens a 640 × 480 window the
// way kelvox does (SDL's first renderer that works, a streaming XRGB8888 texture, nearest
// scaling) and presents the same frame, uploaded whole, 30 times a second for the seconds
// given (default 10), sleeping between frames, in a window of the scale given (default 1: 640
// × 480 window pixels). idle_cost.sh runs it beside kelvox.
#include <SDL.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  const int scale = argc > 2 ? std::atoi(argv[2]) : 1;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "kelvox-minimal-present: %s\n", SDL_GetError());
    return 1;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_Window* window = SDL_CreateWindow("minimal", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640 * scale,
                                        480 * scale, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  if (renderer == nullptr && window != nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) {
    std::fprintf(stderr, "kelvox-minimal-present: %s\n", SDL_GetError());
    return 1;
  }
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer, &info);
  std::fprintf(stderr, "renderer: %s\n", info.name);
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING, 640, 480);
  std::vector<uint32_t> frame(640 * 480, 0x303030);  // the idle scene's picture
  timespec next{};
  clock_gettime(CLOCK_MONOTONIC, &next);
  for (int tick = 0; tick < seconds * 30; ++tick) {
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0) {
    }
    SDL_UpdateTexture(texture, nullptr, frame.data(), 640 * 4);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    next.tv_nsec += 33333333;  // 30 frames a second
    if (next.tv_nsec >= 1000000000) {
      next.tv_nsec -= 1000000000;
      ++next.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr) != 0) {
    }
  }
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
