// The software surfaces' verbs: locks, blits with stretch and source key, colour fills, loss
// and restoration. Pixels are moved as raw values of 1 to 4 bytes, so every format shares one
// path; the display's own row operations do the heavy per-pixel work elsewhere.
#include "platform/surfaces/surface.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/surfaces/row_kernels.h"

namespace kelvox::platform {

const char* surfaceResultName(SurfaceResult result) {
  switch (result) {
    case SurfaceResult::Ok: return "Ok";
    case SurfaceResult::SurfaceLost: return "SurfaceLost";
    case SurfaceResult::InvalidObject: return "InvalidObject";
    case SurfaceResult::InvalidParams: return "InvalidParams";
    case SurfaceResult::InvalidRect: return "InvalidRect";
    case SurfaceResult::OutOfMemory: return "OutOfMemory";
    case SurfaceResult::SurfaceBusy: return "SurfaceBusy";
    case SurfaceResult::NotLocked: return "NotLocked";
    case SurfaceResult::NoColorKey: return "NoColorKey";
    case SurfaceResult::WrongMode: return "WrongMode";
    case SurfaceResult::Unsupported: return "Unsupported";
  }
  return "?";
}

PixelFormat pixelFormatForDepth(int depth) {
  switch (depth) {
    case 8: return {8, 0xE0, 0x1C, 0x03};
    case 15: return {16, 0x7C00, 0x03E0, 0x001F};
    case 16: return {16, 0xF800, 0x07E0, 0x001F};
    case 24: return {24, 0xFF0000, 0xFF00, 0xFF};
    default: return {32, 0xFF0000, 0xFF00, 0xFF};
  }
}

namespace {

uint32_t readRaw(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void writeRaw(uint8_t* p, int bytes, uint32_t v) {
  for (int i = 0; i < bytes; ++i, v >>= 8) p[i] = static_cast<uint8_t>(v);
}

// Copies [n] bytes between rows that do not overlap, sixteen at a time inline: runs are short
// and many, and a library call for each costs as much as the copy.
inline void copyRun(uint8_t* d, const uint8_t* s, size_t n) {
  if (n < 16) {
    std::memcpy(d, s, n);
    return;
  }
  size_t i = 0;
  for (; i + 16 <= n; i += 16) std::memcpy(d + i, s + i, 16);
  if (i < n) std::memcpy(d + n - 16, s + n - 16, 16);  // the last bytes, overlapping the ones before
}

bool overlap(const SurfaceRect& a, const SurfaceRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Serial numbers: tests make surfaces on several threads, so the counter is atomic.
uint64_t nextSerial() {
  static std::atomic<uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace

Surface::Surface(int width, int height, PixelFormat format, SurfaceMemory memory,
                 std::shared_ptr<SurfaceDeviceState> device)
    : width_(width),
      height_(height),
      format_(format),
      memory_(memory),
      bytesPerPixel_(format.bitsPerPixel / 8),
      // Rows padded to four bytes, as DirectDraw's pitch often was: callers must use the pitch.
      pitch_((width * (format.bitsPerPixel / 8) + 3) & ~3),
      pixelBytes_(static_cast<size_t>(pitch_) * static_cast<size_t>(height)),
      pixels_(pixelBytes_),  // a new surface is black
      device_(std::move(device)),
      lossSeen_(device_ ? device_->lossCount : 0),
      serial_(nextSerial()) {}

bool Surface::lostNow() const { return lost_ || (device_ && device_->lossCount != lossSeen_); }

SurfaceResult Surface::isLost() const { return lostNow() ? SurfaceResult::SurfaceLost : SurfaceResult::Ok; }

SurfaceResult Surface::restore() {
  if (!lostNow()) return SurfaceResult::Ok;
  if (device_ && device_->restoreRefused) return SurfaceResult::WrongMode;
  lost_ = false;
  lossSeen_ = device_ ? device_->lossCount : 0;
  std::memset(pixels_.get(), 0xCD, pixelBytes_);
  pixelsChanged();
  return SurfaceResult::Ok;
}

bool Surface::inside(const SurfaceRect& r) const {
  return r.left >= 0 && r.top >= 0 && r.right <= width_ && r.bottom <= height_ && r.left < r.right && r.top < r.bottom;
}

SurfaceResult Surface::usable() const {
  if (lostNow()) return SurfaceResult::SurfaceLost;
  if (locked_ || dcOut_) return SurfaceResult::SurfaceBusy;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::lock(const SurfaceRect* area, LockedArea& out, LockAccess access) {
  if (SurfaceResult r = usable(); r != SurfaceResult::Ok) return r;
  SurfaceRect a = area ? *area : SurfaceRect{0, 0, width_, height_};
  if (!inside(a)) return SurfaceResult::InvalidRect;
  if (access == LockAccess::ReadWrite) pixelsChanged();
  out.pixels = pixels_.get() + static_cast<size_t>(a.top) * static_cast<size_t>(pitch_) +
               static_cast<size_t>(a.left) * static_cast<size_t>(bytesPerPixel_);
  out.pitch = pitch_;
  out.width = a.width();
  out.height = a.height();
  out.format = format_;
  locked_ = true;
  lockWrites_ = access == LockAccess::ReadWrite;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::unlock() {
  if (!locked_) return SurfaceResult::NotLocked;
  locked_ = false;
  if (lockWrites_) ++changes_;  // written while locked
  return SurfaceResult::Ok;
}

SurfaceResult Surface::getDC(LockedArea& out) {
  if (SurfaceResult r = lock(nullptr, out); r != SurfaceResult::Ok) return r;
  locked_ = false;
  dcOut_ = true;
  return SurfaceResult::Ok;
}

SurfaceResult Surface::releaseDC() {
  if (!dcOut_) return SurfaceResult::NotLocked;
  dcOut_ = false;
  ++changes_;  // drawn into while the context was out
  return SurfaceResult::Ok;
}

SurfaceResult Surface::setColorKey(uint32_t value) {
  if (lostNow()) return SurfaceResult::SurfaceLost;
  hasKey_ = true;
  key_ = value;
  pixelsChanged();  // the runs were of the old key
  return SurfaceResult::Ok;
}

SurfaceResult Surface::clearColorKey() {
  hasKey_ = false;
  pixelsChanged();
  return SurfaceResult::Ok;
}

SurfaceResult Surface::colorFill(const SurfaceRect* area, uint32_t value) {
  if (SurfaceResult r = usable(); r != SurfaceResult::Ok) return r;
  SurfaceRect a = area ? *area : SurfaceRect{0, 0, width_, height_};
  if (!inside(a)) return SurfaceResult::InvalidRect;
  pixelsChanged();
  for (int32_t y = a.top; y < a.bottom; ++y) {
    uint8_t* p = pixels_.get() + static_cast<size_t>(y) * static_cast<size_t>(pitch_) +
                 static_cast<size_t>(a.left) * static_cast<size_t>(bytesPerPixel_);
    for (int32_t x = a.left; x < a.right; ++x, p += bytesPerPixel_) writeRaw(p, bytesPerPixel_, value);
  }
  return SurfaceResult::Ok;
}

SurfaceResult Surface::blt(const SurfaceRect* destArea, Surface* source, const SurfaceRect* sourceArea,
                           bool keySource) {
  if (source == nullptr) return SurfaceResult::InvalidObject;
  SurfaceRect d = destArea ? *destArea : SurfaceRect{0, 0, width_, height_};
  SurfaceRect s = sourceArea ? *sourceArea : SurfaceRect{0, 0, source->width_, source->height_};
  return copy(d, *source, s, keySource);
}

SurfaceResult Surface::bltFast(int32_t x, int32_t y, Surface* source, const SurfaceRect* sourceArea, bool keySource) {
  if (source == nullptr) return SurfaceResult::InvalidObject;
  SurfaceRect s = sourceArea ? *sourceArea : SurfaceRect{0, 0, source->width_, source->height_};
  return copy({x, y, x + s.width(), y + s.height()}, *source, s, keySource);
}

SurfaceResult Surface::copy(const SurfaceRect& d, Surface& source, const SurfaceRect& s, bool keySource) {
  if (SurfaceResult r = usable(); r != SurfaceResult::Ok) return r;
  if (SurfaceResult r = source.usable(); r != SurfaceResult::Ok) return r;
  if (!inside(d) || !source.inside(s)) return SurfaceResult::InvalidRect;
  if (!(source.format_ == format_)) return SurfaceResult::InvalidParams;
  if (&source == this && overlap(d, s)) return SurfaceResult::InvalidParams;
  if (keySource && !source.hasKey_) return SurfaceResult::NoColorKey;
  pixelsChanged();
  const int bpp = bytesPerPixel_;
  if (keySource && s.width() == d.width() && s.height() == d.height()) {
    copyKeyedRuns(d, source, s);
    return SurfaceResult::Ok;
  }
  if (!keySource && s.width() == d.width() && s.height() == d.height()) {
    copyOpaque(d, source, s);
    return SurfaceResult::Ok;
  }
  const int64_t dw = d.width(), dh = d.height(), sw = s.width(), sh = s.height();
  for (int64_t y = 0; y < dh; ++y) {
    const int64_t sy = s.top + y * sh / dh;
    const uint8_t* from = source.pixels_.get() + static_cast<size_t>(sy) * static_cast<size_t>(source.pitch_);
    uint8_t* to = pixels_.get() + static_cast<size_t>(d.top + y) * static_cast<size_t>(pitch_) +
                  static_cast<size_t>(d.left) * static_cast<size_t>(bpp);
    if (!keySource && sw == dw) {  // stretched upright only: a straight row copy
      std::memcpy(to, from + static_cast<size_t>(s.left) * static_cast<size_t>(bpp), static_cast<size_t>(dw * bpp));
      continue;
    }
    for (int64_t x = 0; x < dw; ++x, to += bpp) {
      const int64_t sx = s.left + x * sw / dw;
      uint32_t v = readRaw(from + sx * bpp, bpp);
      if (keySource && v == source.key_) continue;
      writeRaw(to, bpp, v);
    }
  }
  return SurfaceResult::Ok;
}

// An unstretched opaque copy, the most common blit of all (every background picture). Rows
// that follow one another in both surfaces with the same pitch (whole-width copies) are one
// block, copied in one call; the library copies a large block with string moves that skip
// reading the destination first.
void Surface::copyOpaque(const SurfaceRect& d, Surface& source, const SurfaceRect& s) {
  const auto bpp = static_cast<size_t>(bytesPerPixel_);
  const auto rowBytes = static_cast<size_t>(d.width()) * bpp;
  uint8_t* to = pixels_.get() + static_cast<size_t>(d.top) * static_cast<size_t>(pitch_) + static_cast<size_t>(d.left) * bpp;
  const uint8_t* from = source.row(s.top) + static_cast<size_t>(s.left) * bpp;
  const auto rows = static_cast<size_t>(d.height());
  if (pitch_ == source.pitch_ && rowBytes == static_cast<size_t>(pitch_)) {
    std::memcpy(to, from, rows * rowBytes);
    return;
  }
  for (size_t y = 0; y < rows; ++y, to += pitch_, from += source.pitch_) std::memcpy(to, from, rowBytes);
}

const OpaqueSpans& Surface::opaqueSpans() {
  if (!spans_) spans_ = std::make_unique<OpaqueSpans>(pixels_.get(), pitch_, width_, height_, bytesPerPixel_, key_);
  return *spans_;
}

// An unstretched keyed copy: the source's runs of non-key pixels copied whole, its scattered
// rows tested pixel by pixel. A blit within one surface skips the runs, which its own writing
// would drop.
void Surface::copyKeyedRuns(const SurfaceRect& d, Surface& source, const SurfaceRect& s) {
  const size_t bpp = static_cast<size_t>(bytesPerPixel_);
  const OpaqueSpans* spans = &source == this ? nullptr : &source.opaqueSpans();
  const KeyedRowKernel copyKeyed = keyedRowKernelFor(bytesPerPixel_, source.key_);
  for (int32_t y = 0; y < d.height(); ++y) {
    const int32_t sy = s.top + y;
    const uint8_t* from = source.row(sy);
    uint8_t* to = pixels_.get() + static_cast<size_t>(d.top + y) * static_cast<size_t>(pitch_) +
                  static_cast<size_t>(d.left) * bpp;
    if (spans == nullptr || spans->scattered(sy)) {
      copyKeyed(to, from + static_cast<size_t>(s.left) * bpp, s.width(), source.key_);
      continue;
    }
    for (const OpaqueSpans::Span& run : spans->row(sy)) {
      if (run.begin >= s.right) break;
      const int32_t begin = std::max(run.begin, s.left), end = std::min(run.end, s.right);
      if (begin < end)
        copyRun(to + static_cast<size_t>(begin - s.left) * bpp,
                spans->packed() + run.packed + static_cast<size_t>(begin - run.begin) * bpp,
                static_cast<size_t>(end - begin) * bpp);
    }
  }
}

uint32_t Surface::rawPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return readRaw(row(y) + static_cast<size_t>(x) * static_cast<size_t>(bytesPerPixel_), bytesPerPixel_);
}

}  // namespace kelvox::platform
