// Keeping the last frame.
#include "platform/headless/headless_display.h"

#include <cstring>

namespace kelvox::platform {

bool HeadlessDisplay::presentFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes) {
  // The same refusals as a real screen, so a caller's bad frame fails in tests too.
  if (xrgb8888 == nullptr || width <= 0 || height <= 0 || pitchBytes < 0 || pitchBytes / 4 < width) return false;
  frame_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  const auto* row = reinterpret_cast<const unsigned char*>(xrgb8888);
  for (int y = 0; y < height; ++y, row += pitchBytes)
    std::memcpy(frame_.data() + static_cast<size_t>(y) * static_cast<size_t>(width), row, static_cast<size_t>(width) * 4);
  width_ = width;
  height_ = height;
  ++presented_;
  return true;
}

uint32_t HeadlessDisplay::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return frame_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

}  // namespace kelvox::platform
