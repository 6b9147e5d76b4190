// A GlyphTarget over a locked surface area of any depth: text colours (0x00RRGGBB) are packed
// into the area's pixel format before they are written, as a device context does.
#pragma once

#include <cstdint>

#include "platform/glyph_target.h"
#include "platform/surfaces/surface.h"

namespace kelvox::platform {

// [colour] (0x00RRGGBB) as a raw pixel of [format]: each channel keeps its top bits, as many as
// its mask holds (8-bit surfaces are RGB 3-3-2 here, so they pack the same way).
uint32_t fromXrgb8888(uint32_t colour, const PixelFormat& format);

class SurfaceGlyphTarget : public GlyphTarget {
 public:
  // [area] must stay locked (lock() or getDC()) while this target is drawn into.
  explicit SurfaceGlyphTarget(const LockedArea& area) : area_(area) {}
  int width() const override { return area_.width; }
  int height() const override { return area_.height; }
  void putRun(int x, int y, int count, uint32_t colour) override;

 private:
  LockedArea area_;
};

}  // namespace kelvox::platform
