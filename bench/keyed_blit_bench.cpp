// Keyed and opaque copies of a whole 640 × 480 pattern onto a 640 × 480 frame: our software
// surfaces (Surface::bltFast, as the compositor draws modes 0, 1, 8 and 9) beside SDL2's
// blitter with a colour key (<Case>/sdl), SDL's RLE-accelerated colour key (<Case>/sdl_rle)
// and, for the opaque copy, pixman's PIXMAN_OP_SRC (<Case>/pixman; pixman has no colour key).
// The key is black (0) on every side; the masks are 16 × 16 blocks or pixels scattered at
// random (about half). Every side blits once before timing: SDL encodes its RLE form then,
// and our surface notes its runs of non-key pixels then. Measuring command: pixel_rows_bench.cpp.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_frames.h"
#include "platform/headless/headless_display.h"
#include "platform/surfaces/surface.h"
#include "platform/surfaces/surface_device.h"

namespace kelvox::bench {
namespace {

using platform::Surface;
using platform::SurfaceResult;

enum class Peer { Kelvox, Sdl, SdlRle, Pixman };

struct Frames {
  SDL_Surface* source;
  SDL_Surface* destination;
  Frames(int depth, KeyMask mask)
      : source(makeFrame(depth, mask, 11u * unsigned(depth) + unsigned(mask))),
        destination(makeFrame(depth, KeyMask::None, 5)) {}
  ~Frames() {
    SDL_FreeSurface(source);
    SDL_FreeSurface(destination);
  }
};

// A software surface holding the same bytes as [from].
std::unique_ptr<Surface> surfaceLike(platform::SurfaceDevice& device, SDL_Surface* from) {
  std::unique_ptr<Surface> s;
  device.createSurface(from->w, from->h, platform::SurfaceMemory::System, s);
  platform::LockedArea a;
  s->lock(nullptr, a);
  for (int y = 0; y < from->h; ++y)
    std::memcpy(a.pixels + y * a.pitch, static_cast<uint8_t*>(from->pixels) + y * from->pitch,
                size_t(from->w) * size_t(from->format->BytesPerPixel));
  s->unlock();
  return s;
}

void runKelvox(benchmark::State& state, int depth, KeyMask mask, bool keyed) {
  Frames f(depth, mask);
  platform::HeadlessDisplay screen;
  platform::SurfaceDevice device{screen};
  device.setDesktopDepth(depth);
  auto source = surfaceLike(device, f.source), destination = surfaceLike(device, f.destination);
  source->setColorKey(0);
  if (destination->bltFast(0, 0, source.get(), nullptr, keyed) != SurfaceResult::Ok) state.SkipWithError("blt failed");
  for (auto _ : state) {
    destination->bltFast(0, 0, source.get(), nullptr, keyed);
    benchmark::DoNotOptimize(destination->row(0));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void runPeer(benchmark::State& state, Peer peer, int depth, KeyMask mask, bool keyed) {
  Frames f(depth, mask);
  SDL_SetSurfaceBlendMode(f.source, SDL_BLENDMODE_NONE);
  if (keyed) SDL_SetColorKey(f.source, SDL_TRUE, 0);
  if (peer == Peer::SdlRle) SDL_SetSurfaceRLE(f.source, 1);
  pixman_image_t* source = peer == Peer::Pixman ? pixmanOver(f.source) : nullptr;
  pixman_image_t* destination = peer == Peer::Pixman ? pixmanOver(f.destination) : nullptr;
  auto blit = [&] {
    if (peer == Peer::Pixman) {
      pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, destination, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    } else {
      SDL_Rect all{0, 0, kWidth, kHeight};
      SDL_BlitSurface(f.source, &all, f.destination, &all);
    }
  };
  blit();
  for (auto _ : state) {
    blit();
    benchmark::DoNotOptimize(f.destination->pixels);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  if (source != nullptr) pixman_image_unref(source);
  if (destination != nullptr) pixman_image_unref(destination);
}

#define KELVOX_KEYED_CASE(name, depth, mask)                                                                    \
  BENCHMARK_CAPTURE(runKelvox, name, depth, mask, true)->Name(#name "/kelvox")->Unit(benchmark::kMicrosecond);  \
  BENCHMARK_CAPTURE(runPeer, name, Peer::Sdl, depth, mask, true)->Name(#name "/sdl")->Unit(benchmark::kMicrosecond); \
  BENCHMARK_CAPTURE(runPeer, name, Peer::SdlRle, depth, mask, true)->Name(#name "/sdl_rle")->Unit(benchmark::kMicrosecond)

KELVOX_KEYED_CASE(KeyedBlocks32, 32, KeyMask::Blocks);
KELVOX_KEYED_CASE(KeyedScattered32, 32, KeyMask::Scattered);
KELVOX_KEYED_CASE(KeyedBlocks16, 16, KeyMask::Blocks);
KELVOX_KEYED_CASE(KeyedScattered16, 16, KeyMask::Scattered);

BENCHMARK_CAPTURE(runKelvox, Copy32, 32, KeyMask::None, false)->Name("Copy32/kelvox")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runPeer, Copy32, Peer::Sdl, 32, KeyMask::None, false)->Name("Copy32/sdl")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runPeer, Copy32, Peer::Pixman, 32, KeyMask::None, false)->Name("Copy32/pixman")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvox::bench
