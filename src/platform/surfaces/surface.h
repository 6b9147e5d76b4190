// Software surfaces: the stand-in for DirectDraw 7's surfaces. A Surface is a block of pixels
// in one of the display formats (8, 15, 16, 24 or 32 bits per pixel) with DirectDraw's verbs
// and result codes, so the engine's retry, refill and restore logic works as it did over
// DirectDraw. Surfaces are made by a SurfaceDevice (surface_device.h), which can also lose
// them all at once, as a mode switch or a screen saver did.
//
// Pixel formats. A format is its bits per pixel and channel masks:
//
//   depth  bits  red     green   blue    memory layout
//   8      8     0xE0    0x1C    0x03    one byte RRRGGGBB (direct colour, no palette)
//   15     16    0x7C00  0x03E0  0x001F  little-endian word
//   16     16    0xF800  0x07E0  0x001F  little-endian word
//   24     24    0xFF0000 0xFF00 0xFF    bytes blue, green, red
//   32     32    0xFF0000 0xFF00 0xFF    little-endian word, top byte 0
//
// A raw pixel value (colour fills, colour keys) is the pixel's bits as an integer in that
// format, low bits first, exactly as DirectDraw took them.
//
// Lost surfaces. A lost surface refuses Lock, Blt, BltFast, colour fills and device contexts
// with SurfaceLost, as a blit from it does. restore() brings it back with undefined contents
// (we fill them with 0xCD bytes, so a caller that forgets to redraw shows it at once).
//
// Keyed blits. The first keyed blit from a surface notes where its pixels are not the key
// (opaque_spans.h), and later ones copy those runs whole. Every change of the pixels or the key
// (a read-write lock, a device context, a fill, a blit into it, restoration) drops the note.
//
// Change counts. Every surface has a serial number of its own, never given to another surface
// of the process, and a count that moves on at every change of its pixels (the same events
// that drop the keyed-blit note, and the end of a read-write lock or a device context). A
// caller that noted both knows whether the pixels can have changed since: the display skips
// presenting a back buffer that did not change.
//
// Rectangles are as Windows' RECT: left and top inside, right and bottom outside. Passing
// null for a rectangle means the whole surface. A rectangle that is empty or reaches outside
// its surface is refused with InvalidRect (there is no clipper on off-screen surfaces).
//
// Threads: engine thread only. Never includes anything of the engine.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/surfaces/cache_line_array.h"
#include "platform/surfaces/opaque_spans.h"

namespace kelvox::platform {

// DirectDraw-style results. Ok is 0, as DD_OK; everything else is a failure.
enum class SurfaceResult : int32_t {
  Ok = 0,
  SurfaceLost,     // DDERR_SURFACELOST: restore() it, then redraw its contents
  InvalidObject,   // DDERR_INVALIDOBJECT: a null surface where one is needed
  InvalidParams,   // DDERR_INVALIDPARAMS: a size ≤ 0, or a format the device cannot make
  InvalidRect,     // DDERR_INVALIDRECT: an empty rectangle or one outside its surface
  OutOfMemory,     // DDERR_OUTOFMEMORY: the surface could not be created
  SurfaceBusy,     // DDERR_SURFACEBUSY: locked, or its device context is out
  NotLocked,       // DDERR_NOTLOCKED: unlock() or releaseDC() without a lock or a context
  NoColorKey,      // DDERR_NOCOLORKEY: a keyed blit from a surface without a colour key
  WrongMode,       // DDERR_WRONGMODE: restore() while the device cannot bring surfaces back
  Unsupported,     // DDERR_UNSUPPORTED: the device cannot do this (a display mode, say)
};

// A short English name for logs and test failures ("SurfaceLost").
const char* surfaceResultName(SurfaceResult result);

struct PixelFormat {
  int bitsPerPixel = 32;  // 8, 16, 24 or 32
  uint32_t redMask = 0xFF0000, greenMask = 0xFF00, blueMask = 0xFF;
  constexpr bool operator==(const PixelFormat&) const = default;
};

// The format of display [depth] (8, 15, 16, 24 or 32, table above); depth 32 for any other.
PixelFormat pixelFormatForDepth(int depth);

// Where a surface may live. The software surfaces are all in memory; the flag is kept so the
// device can refuse "video memory" on its own (see SurfaceDevice::setVideoMemoryAvailable) and
// so the engine's choice between the two back buffers is exercised.
enum class SurfaceMemory { VideoAllowed, System };

// Raw pixel [raw] of [format] as 0x00RRGGBB, each channel widened to 8 bits by repeating its
// top bits (5 bits abcde become abcdeabc), so 0 stays 0 and full intensity stays 255.
uint32_t toXrgb8888(uint32_t raw, const PixelFormat& format);

// A rectangle of a surface, as RECT (see above).
struct SurfaceRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  constexpr bool operator==(const SurfaceRect&) const = default;
};

// What a lock promises: ReadOnly (DDLOCK_READONLY) leaves the pixels as they were, so the
// surface's keyed-blit runs stay valid; ReadWrite may change them.
enum class LockAccess { ReadWrite, ReadOnly };

// What lock() and getDC() hand out: [pixels] is the top-left pixel of the locked rectangle,
// rows [pitch] bytes apart; [width] × [height] pixels may be read and written.
struct LockedArea {
  uint8_t* pixels = nullptr;
  int32_t pitch = 0;
  int32_t width = 0, height = 0;
  PixelFormat format;
};

// The state that every surface of one device shares; see SurfaceDevice.
struct SurfaceDeviceState {
  uint32_t lossCount = 0;      // raised by SurfaceDevice::loseAllSurfaces
  bool restoreRefused = false;  // restore() answers WrongMode while set
};

class Surface {
 public:
  // Use SurfaceDevice::createSurface; this is public for make_unique.
  Surface(int width, int height, PixelFormat format, SurfaceMemory memory,
          std::shared_ptr<SurfaceDeviceState> device);
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  const PixelFormat& format() const { return format_; }
  SurfaceMemory memory() const { return memory_; }
  int bytesPerPixel() const { return bytesPerPixel_; }

  // Locking. lock() gives direct access to [area] (null: all); only one lock at a time.
  // SurfaceBusy when already locked or its context is out, SurfaceLost when lost. Under a
  // ReadOnly lock the caller must not write.
  SurfaceResult lock(const SurfaceRect* area, LockedArea& out, LockAccess access = LockAccess::ReadWrite);
  SurfaceResult unlock();

  // Copies [source]'s [sourceArea] onto [destArea] of this surface, stretching (nearest
  // pixel: destination pixel x takes source pixel sourceLeft + (x − destLeft) × sourceWidth /
  // destWidth, rounded down) when the sizes differ. With [keySource] the source's pixels equal
  // to its colour key are skipped (NoColorKey when it has none). [source] may be this surface
  // only when the two areas do not overlap. The formats must match (InvalidParams).
  SurfaceResult blt(const SurfaceRect* destArea, Surface* source, const SurfaceRect* sourceArea, bool keySource);

  // Copies [sourceArea] unstretched with its top-left at ([x], [y]); otherwise as blt().
  SurfaceResult bltFast(int32_t x, int32_t y, Surface* source, const SurfaceRect* sourceArea, bool keySource);

  // Fills [area] (null: all) with the raw pixel [value] (DDBLT_COLORFILL).
  SurfaceResult colorFill(const SurfaceRect* area, uint32_t value);

  // The source colour key: one raw pixel value (DirectDraw's low and high bound, both the same).
  SurfaceResult setColorKey(uint32_t value);
  SurfaceResult clearColorKey();
  bool hasColorKey() const { return hasKey_; }

  // SurfaceLost while the surface is lost, else Ok (IDirectDrawSurface7::IsLost).
  SurfaceResult isLost() const;
  // Brings a lost surface back with undefined contents (see above); Ok for one that is not
  // lost. WrongMode while the device refuses restoration.
  SurfaceResult restore();
  // Loses this one surface (a test's fault; the device loses them all).
  void markLost() { lost_ = true; }

  // The device context for drawing text: the whole surface, locked like lock(), held until
  // releaseDC(). The text engine draws into it in the surface's own format.
  SurfaceResult getDC(LockedArea& out);
  SurfaceResult releaseDC();

  // The raw value of the pixel at ([x], [y]) for tests and screenshots; 0 outside. Reads even
  // a lost or locked surface.
  uint32_t rawPixel(int x, int y) const;
  // Row [y] as bytes; for the device's conversion to the screen.
  const uint8_t* row(int y) const { return pixels_.get() + static_cast<size_t>(y) * static_cast<size_t>(pitch_); }
  int32_t pitch() const { return pitch_; }

  // See "Change counts" above.
  uint64_t serial() const { return serial_; }
  uint64_t changeCount() const { return changes_; }

 private:
  bool lostNow() const;
  bool inside(const SurfaceRect& r) const;
  SurfaceResult usable() const;
  SurfaceResult copy(const SurfaceRect& dest, Surface& source, const SurfaceRect& from, bool keySource);
  void copyKeyedRuns(const SurfaceRect& dest, Surface& source, const SurfaceRect& from);
  void copyOpaque(const SurfaceRect& dest, Surface& source, const SurfaceRect& from);
  const OpaqueSpans& opaqueSpans();
  void pixelsChanged() {
    spans_.reset();
    ++changes_;
  }

  int width_, height_;
  PixelFormat format_;
  SurfaceMemory memory_;
  int bytesPerPixel_;
  int32_t pitch_;
  size_t pixelBytes_;
  CacheLineArray<uint8_t> pixels_;
  std::shared_ptr<SurfaceDeviceState> device_;
  uint32_t lossSeen_;  // the device's lossCount when this surface was last made or restored
  bool lost_ = false;
  bool locked_ = false;
  bool lockWrites_ = false;  // the lock that is out may change the pixels
  bool dcOut_ = false;
  bool hasKey_ = false;
  uint32_t key_ = 0;
  std::unique_ptr<OpaqueSpans> spans_;  // for keyed blits from here; null until one, and after a change
  uint64_t serial_;
  uint64_t changes_ = 0;
};

}  // namespace kelvox::platform
