// Making surfaces, the mode stand-ins, and the conversion of the primary surface to the
// screen's XRGB8888.
#include "platform/surfaces/surface_device.h"

#include <algorithm>
#include <bit>

#include "platform/surfaces/row_kernels.h"

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

// Converts [area] of [primary] into the same area of [frame], rows as wide as the surface.
void convertToXrgb(const Surface& primary, const SurfaceRect& area, uint32_t* frame) {
  const auto w = static_cast<size_t>(primary.width());
  const auto bpp = static_cast<size_t>(primary.bytesPerPixel());
  const auto left = static_cast<size_t>(area.left);
  const ScreenRowKernel kernel = screenRowKernelFor(primary.format());
  if (kernel == nullptr) {  // a format of a test's: pixel by pixel
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        frame[static_cast<size_t>(y) * w + static_cast<size_t>(x)] = toXrgb8888(primary.rawPixel(x, y), primary.format());
    return;
  }
  // Whole rows without padding follow one another on both sides: one run of pixels.
  if (static_cast<size_t>(area.width()) == w && static_cast<size_t>(primary.pitch()) == w * bpp) {
    kernel(frame + static_cast<size_t>(area.top) * w, primary.row(area.top), area.width() * area.height());
    return;
  }
  for (int y = area.top; y < area.bottom; ++y)
    kernel(frame + static_cast<size_t>(y) * w + left, primary.row(y) + left * bpp, area.width());
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

SurfaceResult SurfaceDevice::presentPrimary(const Surface* primary, const SurfaceRect* changed) {
  if (primary == nullptr) return SurfaceResult::InvalidObject;
  if (primary->isLost() != SurfaceResult::Ok) return SurfaceResult::SurfaceLost;
  const int w = primary->width(), h = primary->height();
  const size_t size = static_cast<size_t>(w) * static_cast<size_t>(h);
  if (size != frameSize_) {
    frame_ = CacheLineArray<uint32_t>(size);
    frameSize_ = size;
    shownSerial_ = 0;
  }
  if (w != frameWidth_ || h != frameHeight_) shownSerial_ = 0;
  frameWidth_ = w;
  frameHeight_ = h;
  SurfaceRect area{0, 0, w, h};
  if (changed != nullptr && primary->serial() == shownSerial_)
    area = {std::max(changed->left, 0), std::max(changed->top, 0), std::min(changed->right, w),
            std::min(changed->bottom, h)};
  if (area.left < area.right && area.top < area.bottom)
    convertToXrgb(*primary, area, frame_.get());
  else
    area = {0, 0, 0, 0};  // nothing changed: the kept picture is shown again
  const FrameArea part{area.left, area.top, area.width(), area.height()};
  // A refused frame leaves the screen behind frame_, so the next present hands over all of it.
  const bool shown = display_.presentFrame(frame_.get(), w, h, w * 4, &part);
  shownSerial_ = shown ? primary->serial() : 0;
  return shown ? SurfaceResult::Ok : SurfaceResult::Unsupported;
}

}  // namespace kelvox::platform
