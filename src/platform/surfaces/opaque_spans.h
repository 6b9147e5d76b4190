// Where a surface's pixels are not its colour key, row by row: the list that lets a keyed blit
// copy whole runs instead of testing every pixel. A Surface builds it at its first keyed blit
// from the surface and drops it at any change of its pixels or its key (surface.h), so a
// pattern, drawn once and blitted every frame, is scanned once.
//
// The runs' pixels are also kept packed one after another, as an RLE-encoded surface keeps
// them, so a keyed blit reads only what it draws, from one stream, instead of picking runs out
// of the surface's rows. The surface's own pixels stay as they were.
//
// Rows whose runs are short (noise, dithering) would cost more per run than a vector test of
// every pixel, so such a row is only marked scattered and holds no runs.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kelvox::platform {

class OpaqueSpans {
 public:
  struct Span {
    int32_t begin, end;  // pixels [begin, end) of the row, none of them the key
    size_t packed;       // byte offset of pixel [begin] in packed()
  };

  // Scans [height] rows of [width] pixels of [bytesPerPixel] bytes (1 to 4), [pitch] bytes
  // apart from [pixels], for pixels other than the raw value [key].
  OpaqueSpans(const uint8_t* pixels, int32_t pitch, int width, int height, int bytesPerPixel, uint32_t key);

  // Whether row [y] was too broken up to keep its runs; copy it with a keyed row kernel instead.
  bool scattered(int y) const { return scattered_[static_cast<size_t>(y)] != 0; }

  // Every run's pixels, row by row and left to right, without gaps.
  const uint8_t* packed() const { return packed_.data(); }

  // The runs of row [y] from left to right; empty for a scattered row or one wholly of the key.
  std::span<const Span> row(int y) const {
    const auto first = static_cast<size_t>(rowStart_[static_cast<size_t>(y)]);
    const auto last = static_cast<size_t>(rowStart_[static_cast<size_t>(y) + 1]);
    return {spans_.data() + first, last - first};
  }

 private:
  std::vector<Span> spans_;
  std::vector<uint8_t> packed_;
  std::vector<int32_t> rowStart_;  // row y's runs are spans_[rowStart_[y], rowStart_[y + 1])
  std::vector<uint8_t> scattered_;
};

}  // namespace kelvox::platform
