// Making surfaces, the mode stand-ins, and the conversion of the primary surface to the
// screen's XRGB8888.
#include "platform/surface_device.h"

#include <bit>
#include <cstring>

namespace kelvox::platform {

namespace {

constexpr int kMaxSide = 16384;  // larger than any screen the game asks for; keeps sizes sane

// The 8-bit value of the channel [mask] of raw pixel [v]: its bits widened by repeating the
// top ones (5 bits abcde → abcdeabc), so 0 stays 0 and all ones become 255.
uint32_t widen(uint32_t v, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  uint32_t c = (v & mask) >> shift;
  if (bits >= 8) return c >> (bits - 8);
  uint32_t out = 0;
  for (int filled = 0; filled < 8; filled += bits) out = (out << bits) | c;
  // [out] holds ceil(8 / bits) copies; keep the top 8 bits of them.
  const int total = ((8 + bits - 1) / bits) * bits;
  return out >> (total - 8);
}

}  // namespace

uint32_t toXrgb8888(uint32_t raw, const PixelFormat& f) {
  return (widen(raw, f.redMask) << 16) | (widen(raw, f.greenMask) << 8) | widen(raw, f.blueMask);
}

SurfaceDevice::SurfaceDevice(DisplayDevice& display)
    : display_(display), state_(std::make_shared<SurfaceDeviceState>()) {}

void SurfaceDevice::setDesktopDepth(int depth) {
  if (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32) desktopDepth_ = depth;
}

SurfaceResult SurfaceDevice::setCooperativeLevel(bool) { return SurfaceResult::Ok; }

SurfaceResult SurfaceDevice::setDisplayMode(int, int, int) {
  return display_.setFullscreen(true) ? SurfaceResult::Ok : SurfaceResult::Unsupported;
}

SurfaceResult SurfaceDevice::restoreDisplayMode() {
  if (display_.fullscreen()) display_.setFullscreen(false);
  return SurfaceResult::Ok;
}

bool SurfaceDevice::creationFails() {
  ++creations_;
  if (failCountdown_ > 0 && --failCountdown_ == 0) return true;
  return false;
}

SurfaceResult SurfaceDevice::createSurface(int width, int height, SurfaceMemory memory,
                                           std::unique_ptr<Surface>& out) {
  out.reset();
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return SurfaceResult::InvalidParams;
  if (creationFails()) return SurfaceResult::OutOfMemory;
  if (memory == SurfaceMemory::VideoAllowed && !videoMemory_) return SurfaceResult::OutOfMemory;
  out = std::make_unique<Surface>(width, height, pixelFormatForDepth(desktopDepth_), memory, state_);
  return SurfaceResult::Ok;
}

SurfaceResult SurfaceDevice::createPrimary(int width, int height, std::unique_ptr<Surface>& out) {
  out.reset();
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return SurfaceResult::InvalidParams;
  if (creationFails()) return SurfaceResult::OutOfMemory;
  PixelFormat format = forcedPrimary_ ? primaryFormat_ : pixelFormatForDepth(desktopDepth_);
  out = std::make_unique<Surface>(width, height, format, SurfaceMemory::VideoAllowed, state_);
  return SurfaceResult::Ok;
}

void SurfaceDevice::forcePrimaryFormat(const PixelFormat* format) {
  forcedPrimary_ = format != nullptr;
  if (format) primaryFormat_ = *format;
}

SurfaceResult SurfaceDevice::presentPrimary(const Surface* primary) {
  if (primary == nullptr) return SurfaceResult::InvalidObject;
  if (primary->isLost() != SurfaceResult::Ok) return SurfaceResult::SurfaceLost;
  const int w = primary->width(), h = primary->height();
  const size_t size = static_cast<size_t>(w) * static_cast<size_t>(h);
  if (size != frameSize_) {
    frame_ = std::make_unique<uint32_t[]>(size);
    frameSize_ = size;
  }
  frameWidth_ = w;
  frameHeight_ = h;
  const PixelFormat& f = primary->format();
  // The desktop's usual format is already XRGB8888 but for its unused top byte: rows are
  // copied whole. Every other format goes pixel by pixel.
  const bool xrgb = f == PixelFormat{};
  for (int y = 0; y < h; ++y) {
    uint32_t* to = frame_.get() + static_cast<size_t>(y) * static_cast<size_t>(w);
    if (xrgb) {
      std::memcpy(to, primary->row(y), static_cast<size_t>(w) * 4);
      for (int x = 0; x < w; ++x) to[x] &= 0x00FFFFFFu;
    } else {
      for (int x = 0; x < w; ++x) to[x] = toXrgb8888(primary->rawPixel(x, y), f);
    }
  }
  return display_.presentFrame(frame_.get(), w, h, w * 4) ? SurfaceResult::Ok : SurfaceResult::Unsupported;
}

}  // namespace kelvox::platform
