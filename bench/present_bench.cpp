// Presentation of a whole 640 × 480 primary surface at every display depth: our
// SurfaceDevice::presentPrimary (the conversion to the screen's XRGB8888, handed to a screen
// that takes it without copying) beside SDL2's own conversion of the same bytes to the same
// format (SDL_ConvertPixels), Present<depth>/kelvox and Present<depth>/sdl. SDL's names for
// the formats: RGB332, RGB555 (XRGB1555), RGB565, BGR24 (bytes blue, green, red) and
// XRGB8888, where SDL copies the rows. Both sides widen a channel by repeating its top bits.
// Measuring command: pixel_rows_bench.cpp.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "bench_frames.h"
#include "platform/display_device.h"
#include "platform/surfaces/surface_device.h"

namespace kelvox::bench {
namespace {

// A screen that takes a frame and does nothing with it.
class NullScreen final : public platform::DisplayDevice {
 public:
  bool setFullscreen(bool) override { return false; }
  bool fullscreen() const override { return false; }
  int scale() const override { return 1; }

 protected:
  bool takeFrame(const uint32_t* frame, int, int, int, const platform::FrameArea&) override {
    benchmark::DoNotOptimize(frame);
    return true;
  }
};

Uint32 sdlFormat(int depth) {
  switch (depth) {
    case 8: return SDL_PIXELFORMAT_RGB332;
    case 15: return SDL_PIXELFORMAT_RGB555;
    case 16: return SDL_PIXELFORMAT_RGB565;
    case 24: return SDL_PIXELFORMAT_BGR24;
    default: return SDL_PIXELFORMAT_XRGB8888;
  }
}

// A primary of random pixels at [depth] (top byte 0 at depth 32, top bit 0 at depth 15).
std::unique_ptr<platform::Surface> randomPrimary(platform::SurfaceDevice& device, int depth) {
  device.setDesktopDepth(depth);
  std::unique_ptr<platform::Surface> primary;
  device.createPrimary(kWidth, kHeight, primary);
  platform::LockedArea a;
  primary->lock(nullptr, a);
  std::mt19937 rng{static_cast<unsigned>(depth)};
  const int bytes = primary->bytesPerPixel();
  const uint32_t colour = depth == 15 ? 0x7FFF : depth == 32 ? 0xFFFFFF : 0xFFFFFFFF;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t v = static_cast<uint32_t>(rng()) & colour;
      std::memcpy(a.pixels + y * a.pitch + x * bytes, &v, size_t(bytes));
    }
  primary->unlock();
  return primary;
}

void presentKelvox(benchmark::State& state, int depth) {
  NullScreen screen;
  platform::SurfaceDevice device{screen};
  auto primary = randomPrimary(device, depth);
  for (auto _ : state) {
    device.presentPrimary(primary.get());
    benchmark::DoNotOptimize(device.lastFrame());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void presentSdl(benchmark::State& state, int depth) {
  NullScreen screen;
  platform::SurfaceDevice device{screen};
  auto primary = randomPrimary(device, depth);
  std::vector<uint32_t> frame(size_t(kWidth) * kHeight);
  for (auto _ : state) {
    SDL_ConvertPixels(kWidth, kHeight, sdlFormat(depth), primary->row(0), primary->pitch(), SDL_PIXELFORMAT_XRGB8888,
                      frame.data(), kWidth * 4);
    benchmark::DoNotOptimize(frame.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

#define KELVOX_PRESENT_CASE(depth)                                                                                   \
  BENCHMARK_CAPTURE(presentKelvox, depth, depth)->Name("Present" #depth "/kelvox")->Unit(benchmark::kMicrosecond); \
  BENCHMARK_CAPTURE(presentSdl, depth, depth)->Name("Present" #depth "/sdl")->Unit(benchmark::kMicrosecond)

KELVOX_PRESENT_CASE(8);
KELVOX_PRESENT_CASE(15);
KELVOX_PRESENT_CASE(16);
KELVOX_PRESENT_CASE(24);
KELVOX_PRESENT_CASE(32);

}  // namespace
}  // namespace kelvox::bench
