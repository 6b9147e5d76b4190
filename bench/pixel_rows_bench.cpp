// Row operations over a whole 640 × 480 frame, each beside SDL2's software blitter doing the
// same work on the same frames (<Case>/kelvox, <Case>/sdl). SDL has no subtractive mode, so
// Subtract32 runs alone. Source frames hold no key pixels, so the blend does full work on
// both sides; the kelvox side calls the row operation once per row, as the compositor will.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "graphics/pixel_row_ops.h"

namespace {

using kelvox::graphics::PixelRowOps;
using kelvox::graphics::pixelRowOpsFor;

constexpr int kWidth = 640, kHeight = 480;

enum class Work { Convert, Subtract, Add, Blend };
constexpr int kWeight = 128;

// A source and a destination frame of random non-zero pixels, at depth 16 (RGB565) or 32
// (XRGB8888); the conversion's source is a 32-bit frame of source pixels.
struct Frames {
  SDL_Surface* source;
  SDL_Surface* destination;

  Frames(int sourceDepth, int destinationDepth) {
    source = makeSurface(sourceDepth);
    destination = makeSurface(destinationDepth);
  }
  ~Frames() {
    SDL_FreeSurface(source);
    SDL_FreeSurface(destination);
  }

  static SDL_Surface* makeSurface(int depth) {
    Uint32 format = depth == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;  // RGB888 is XRGB8888
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, depth, format);
    std::mt19937 rng(depth * 7 + 1);
    auto* bytes = static_cast<uint8_t*>(s->pixels);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < s->pitch; ++x) bytes[y * s->pitch + x] = uint8_t(rng() | 1);
    if (depth == 32)  // a zero top byte, as our frames have
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) bytes[y * s->pitch + 4 * x + 3] = 0;
    return s;
  }
};

void runKelvox(benchmark::State& state, Work work, int depth) {
  Frames f(work == Work::Convert ? 32 : depth, depth);
  const PixelRowOps& ops = *pixelRowOpsFor(depth);
  for (auto _ : state) {
    auto* d = static_cast<uint8_t*>(f.destination->pixels);
    auto* s = static_cast<const uint8_t*>(f.source->pixels);
    for (int y = 0; y < kHeight; ++y, d += f.destination->pitch, s += f.source->pitch) {
      switch (work) {
        case Work::Convert: ops.ConvertRow(d, s, kWidth); break;
        case Work::Subtract: ops.SubtractRow(d, s, kWidth); break;
        case Work::Add: ops.AddRow(d, s, kWidth); break;
        case Work::Blend: ops.BlendRow(d, s, kWidth, kWeight); break;
      }
    }
    benchmark::DoNotOptimize(f.destination->pixels);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void runSdl(benchmark::State& state, Work work, int depth) {
  Frames f(work == Work::Convert ? 32 : depth, depth);
  switch (work) {
    case Work::Convert: SDL_SetSurfaceBlendMode(f.source, SDL_BLENDMODE_NONE); break;
    case Work::Add: SDL_SetSurfaceBlendMode(f.source, SDL_BLENDMODE_ADD); break;
    case Work::Blend:
      SDL_SetSurfaceBlendMode(f.source, SDL_BLENDMODE_BLEND);
      SDL_SetSurfaceAlphaMod(f.source, kWeight);
      break;
    case Work::Subtract: break;
  }
  for (auto _ : state) {
    SDL_Rect all{0, 0, kWidth, kHeight};
    SDL_BlitSurface(f.source, &all, f.destination, &all);
    benchmark::DoNotOptimize(f.destination->pixels);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

#define KELVOX_ROW_CASE(name, work, depth)                                            \
  BENCHMARK_CAPTURE(runKelvox, name, work, depth)->Name(#name "/kelvox")->Unit(benchmark::kMicrosecond); \
  BENCHMARK_CAPTURE(runSdl, name, work, depth)->Name(#name "/sdl")->Unit(benchmark::kMicrosecond)

KELVOX_ROW_CASE(Convert16, Work::Convert, 16);
KELVOX_ROW_CASE(Convert32, Work::Convert, 32);
KELVOX_ROW_CASE(Add32, Work::Add, 32);
KELVOX_ROW_CASE(Add16, Work::Add, 16);
KELVOX_ROW_CASE(Blend32, Work::Blend, 32);
KELVOX_ROW_CASE(Blend16, Work::Blend, 16);
BENCHMARK_CAPTURE(runKelvox, Subtract32, Work::Subtract, 32)->Name("Subtract32/kelvox")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runKelvox, Subtract16, Work::Subtract, 16)->Name("Subtract16/kelvox")->Unit(benchmark::kMicrosecond);

}  // namespace
