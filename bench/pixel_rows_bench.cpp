// Row operations over a whole 640 × 480 frame beside SDL2's software blitter and pixman doing
// the same work on the same frames (<Case>/kelvox, <Case>/sdl, <Case>/pixman). Source frames
// hold no key pixels, so the blend does full work on every side; the kelvox side calls the row
// operation once per row, as the compositor does, on the fastest path this processor runs.
//
// Peers: SDL blits with SDL_BLENDMODE_ADD, or SDL_BLENDMODE_BLEND with the weight as surface
// alpha; pixman composites with PIXMAN_OP_ADD, or PIXMAN_OP_OVER through a solid mask of the
// weight. Neither has our subtraction (d + s - M per channel, clamped at 0): SDL's modes are
// add, blend and multiply, and pixman's nearest, PIXMAN_OP_SATURATE and the PDF burn modes, are
// other arithmetic, so Subtract32 and Subtract16 run alone. Conversion (top byte cleared, or
// 5:6:5 with the key nudge) is timed against SDL's format conversion only. Rounding differs a
// little between peers (pixman's weight is x/255); the amount of work is the same.
//
// Measured with all the pixel cases in one run (one line):
//   build/bench/kelvox-bench --benchmark_filter='Convert|Add|Subtract|Blend|Keyed|Copy|Compose|Present'
//       --benchmark_repetitions=3 --benchmark_min_time=0.2 --benchmark_format=json
#include <benchmark/benchmark.h>

#include "bench_frames.h"
#include "graphics/pixel_row_ops.h"

namespace kelvox::bench {
namespace {

using graphics::PixelRowOps;
using graphics::pixelRowOpsFor;

enum class Work { Convert, Subtract, Add, Blend };
constexpr int kWeight = 128;

// A source and a destination frame at [depth]; the conversion's source is a 32-bit frame of
// source pixels.
struct Frames {
  SDL_Surface* source;
  SDL_Surface* destination;
  Frames(Work work, int depth)
      : source(makeFrame(work == Work::Convert ? 32 : depth, KeyMask::None, 7u * unsigned(depth) + 1)),
        destination(makeFrame(depth, KeyMask::None, 7u * unsigned(depth) + 2)) {}
  ~Frames() {
    SDL_FreeSurface(source);
    SDL_FreeSurface(destination);
  }
};

void runKelvox(benchmark::State& state, Work work, int depth) {
  Frames f(work, depth);
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
  Frames f(work, depth);
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

void runPixman(benchmark::State& state, Work work, int depth) {
  Frames f(work, depth);
  pixman_image_t* source = pixmanOver(f.source);
  pixman_image_t* destination = pixmanOver(f.destination);
  const pixman_color_t weight{0, 0, 0, uint16_t(kWeight * 257)};
  pixman_image_t* mask = work == Work::Blend ? pixman_image_create_solid_fill(&weight) : nullptr;
  const pixman_op_t op = work == Work::Add ? PIXMAN_OP_ADD : PIXMAN_OP_OVER;
  for (auto _ : state) {
    pixman_image_composite32(op, source, mask, destination, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::DoNotOptimize(f.destination->pixels);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  if (mask != nullptr) pixman_image_unref(mask);
  pixman_image_unref(destination);
  pixman_image_unref(source);
}

#define KELVOX_ROW_PEER(name, peer, function, work, depth) \
  BENCHMARK_CAPTURE(function, name, work, depth)->Name(#name "/" #peer)->Unit(benchmark::kMicrosecond)

KELVOX_ROW_PEER(Convert16, kelvox, runKelvox, Work::Convert, 16);
KELVOX_ROW_PEER(Convert16, sdl, runSdl, Work::Convert, 16);
KELVOX_ROW_PEER(Convert32, kelvox, runKelvox, Work::Convert, 32);
KELVOX_ROW_PEER(Convert32, sdl, runSdl, Work::Convert, 32);
KELVOX_ROW_PEER(Add32, kelvox, runKelvox, Work::Add, 32);
KELVOX_ROW_PEER(Add32, sdl, runSdl, Work::Add, 32);
KELVOX_ROW_PEER(Add32, pixman, runPixman, Work::Add, 32);
KELVOX_ROW_PEER(Add16, kelvox, runKelvox, Work::Add, 16);
KELVOX_ROW_PEER(Add16, sdl, runSdl, Work::Add, 16);
KELVOX_ROW_PEER(Add16, pixman, runPixman, Work::Add, 16);
KELVOX_ROW_PEER(Subtract32, kelvox, runKelvox, Work::Subtract, 32);
KELVOX_ROW_PEER(Subtract16, kelvox, runKelvox, Work::Subtract, 16);
KELVOX_ROW_PEER(Blend32, kelvox, runKelvox, Work::Blend, 32);
KELVOX_ROW_PEER(Blend32, sdl, runSdl, Work::Blend, 32);
KELVOX_ROW_PEER(Blend32, pixman, runPixman, Work::Blend, 32);
KELVOX_ROW_PEER(Blend16, kelvox, runKelvox, Work::Blend, 16);
KELVOX_ROW_PEER(Blend16, sdl, runSdl, Work::Blend, 16);
KELVOX_ROW_PEER(Blend16, pixman, runPixman, Work::Blend, 16);

}  // namespace
}  // namespace kelvox::bench
