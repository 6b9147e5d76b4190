// Finds the runs of non-key pixels of each row once.
#include "platform/surfaces/opaque_spans.h"

#include <cstring>

namespace kelvox::platform {

namespace {

// A row with more runs than one per this many pixels is kept as scattered: below about 16
// pixels a run costs more to look up and copy than testing its pixels sixteen at a time.
constexpr int kPixelsPerRun = 16;

uint32_t pixelAt(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, static_cast<size_t>(bytes));  // little-endian: the raw value
  return v;
}

}  // namespace

OpaqueSpans::OpaqueSpans(const uint8_t* pixels, int32_t pitch, int width, int height, int bytesPerPixel,
                         uint32_t key)
    : rowStart_(static_cast<size_t>(height) + 1, 0), scattered_(static_cast<size_t>(height), 0) {
  const size_t limit = static_cast<size_t>(width / kPixelsPerRun) + 1;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    const size_t first = spans_.size();
    int x = 0;
    while (x < width) {
      while (x < width && pixelAt(row + static_cast<size_t>(x) * static_cast<size_t>(bytesPerPixel), bytesPerPixel) == key) ++x;
      if (x == width) break;
      const int begin = x;
      while (x < width && pixelAt(row + static_cast<size_t>(x) * static_cast<size_t>(bytesPerPixel), bytesPerPixel) != key) ++x;
      spans_.push_back({begin, x, packed_.size()});
      packed_.insert(packed_.end(), row + static_cast<size_t>(begin) * static_cast<size_t>(bytesPerPixel),
                     row + static_cast<size_t>(x) * static_cast<size_t>(bytesPerPixel));
      if (spans_.size() - first > limit) {
        packed_.resize(spans_[first].packed);
        spans_.resize(first);
        scattered_[static_cast<size_t>(y)] = 1;
        break;
      }
    }
    rowStart_[static_cast<size_t>(y) + 1] = static_cast<int32_t>(spans_.size());
  }
}

}  // namespace kelvox::platform
