// What text is drawn into: a rectangle of pixels that takes horizontal runs of one colour. A
// 32-bit Bitmap is one; a pattern's surface of any depth is another (it converts the colour
// to its own format). The font engine clips every run to the target before handing it over.
#pragma once

#include <cstdint>

namespace kelvox::platform {

class GlyphTarget {
 public:
  virtual ~GlyphTarget() = default;
  virtual int width() const = 0;   // pixels
  virtual int height() const = 0;  // pixels
  // Sets [count] pixels from (x, y) rightwards to [colour] (0x00RRGGBB). Callers keep the run
  // inside the target: 0 <= x, x + count <= width(), 0 <= y < height(), count > 0.
  virtual void putRun(int x, int y, int count, uint32_t colour) = 0;
};

}  // namespace kelvox::platform
