// A full-screen Compose of a layered 640 × 480 scene through the real compositor (TDisplay at
// depth 32, the whole screen changed each frame), beside SDL2's blitter drawing the same
// sprites from the same pixels in the same order: the frame cleared to black, an opaque
// background, keyed sprites (16 × 16 blocks and scattered pixels; also with SDL's RLE key in
// Compose/sdl_rle), an additive one, an alpha one at weight 128 and a subtractive one, all
// overlapping. SDL has no subtraction; its multiply mode (SDL_BLENDMODE_MOD), the same amount
// of per-channel work, stands in for that one sprite. pixman has neither colour keys nor our
// subtraction, so it sits this case out. Measuring command: pixel_rows_bench.cpp.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_frames.h"
#include "graphics/display.h"
#include "graphics/pattern_store.h"
#include "graphics/sprite.h"
#include "platform/headless/headless_display.h"

namespace kelvox::bench {
namespace {

// One layer of the scene, back to front: a pattern of [width] × [height] with [mask] drawn in
// [mode] (0 opaque, 1 keyed, 2 subtract, 3 add, 4 alpha at [rate]) at ([x], [y]).
struct Layer {
  int mode, x, y, width, height;
  KeyMask mask;
  int rate;
};
const Layer kScene[] = {
    {0, 0, 0, 640, 480, KeyMask::None, 256},        {1, 0, 0, 400, 300, KeyMask::Blocks, 256},
    {1, 240, 180, 400, 300, KeyMask::Blocks, 256},  {1, 320, 0, 320, 240, KeyMask::Scattered, 256},
    {3, 100, 200, 320, 240, KeyMask::None, 256},    {4, 200, 100, 320, 240, KeyMask::None, 128},
    {2, 0, 300, 320, 180, KeyMask::None, 256},
};

// The layer's pixels as 0x00RRGGBB source pixels (the key 0 where masked); its SDL surface
// holds the same values.
SDL_Surface* layerSurface(const Layer& l, unsigned seed) {
  SDL_Surface* frame = makeFrame(32, l.mask, seed);
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, l.width, l.height, 32, SDL_PIXELFORMAT_RGB888);
  SDL_Rect area{0, 0, l.width, l.height};
  SDL_BlitSurface(frame, &area, s, &area);
  SDL_FreeSurface(frame);
  return s;
}

struct Scene {
  std::vector<SDL_Surface*> layers;
  Scene() {
    unsigned seed = 100;
    for (const Layer& l : kScene) layers.push_back(layerSurface(l, seed++));
  }
  ~Scene() {
    for (SDL_Surface* s : layers) SDL_FreeSurface(s);
  }
};

void runKelvox(benchmark::State& state) {
  Scene scene;
  platform::HeadlessDisplay screen;
  platform::SurfaceDevice device{screen};
  device.setDesktopDepth(32);
  graphics::TDisplay display{device};
  display.Create();
  display.Configure(kWidth, kHeight, 0, false);
  display.Initialise();
  std::vector<graphics::TPatternRef*> refs;
  std::vector<graphics::TSprite*> sprites;
  int priority = 100;
  for (size_t i = 0; i < scene.layers.size(); ++i) {
    const Layer& l = kScene[i];
    SDL_Surface* s = scene.layers[i];
    refs.push_back(graphics::CreateFromPixels(display, nullptr, static_cast<const uint32_t*>(s->pixels), l.width,
                                              l.height, s->pitch, l.mode, true));
    sprites.push_back(graphics::CreateSprite(display));
    graphics::SetSprite(display, sprites.back(), l.x, l.y, priority--, refs.back());
    if (l.rate != 256) graphics::SetAlphaRate(display, sprites.back(), l.rate);
  }
  display.InvalidateAll();
  display.Compose();
  for (auto _ : state) {
    display.InvalidateAll();
    display.Compose();
    benchmark::DoNotOptimize(display.BackBuffer()->row(0));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  for (graphics::TSprite* s : sprites) graphics::DestroySprite(display, s);
  for (graphics::TPatternRef* r : refs) graphics::Destroy(display, r);
}

void runSdl(benchmark::State& state, bool rle) {
  Scene scene;
  SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_RGB888);
  for (size_t i = 0; i < scene.layers.size(); ++i) {
    const Layer& l = kScene[i];
    SDL_Surface* s = scene.layers[i];
    switch (l.mode) {
      case 0: SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE); break;
      case 1:
        SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
        SDL_SetColorKey(s, SDL_TRUE, 0);
        if (rle) SDL_SetSurfaceRLE(s, 1);
        break;
      case 2: SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_MOD); break;
      case 3: SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_ADD); break;
      case 4:
        SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
        SDL_SetSurfaceAlphaMod(s, Uint8(l.rate));
        break;
    }
  }
  auto draw = [&] {
    SDL_FillRect(frame, nullptr, 0);
    for (size_t i = 0; i < scene.layers.size(); ++i) {
      SDL_Rect at{kScene[i].x, kScene[i].y, kScene[i].width, kScene[i].height};
      SDL_BlitSurface(scene.layers[i], nullptr, frame, &at);
    }
  };
  draw();
  for (auto _ : state) {
    draw();
    benchmark::DoNotOptimize(frame->pixels);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  SDL_FreeSurface(frame);
}

BENCHMARK(runKelvox)->Name("Compose/kelvox")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runSdl, sdl, false)->Name("Compose/sdl")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runSdl, sdl_rle, true)->Name("Compose/sdl_rle")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvox::bench
