// Keeping the last frame.
#include "platform/headless/headless_display.h"

#include <cstring>

namespace kelvox::platform {

bool HeadlessDisplay::takeFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes,
                                const FrameArea& changed) {
  // The kept frame takes only the changed part, unless the size changed: then all of it.
  FrameArea area = changed;
  if (width != width_ || height != height_) {
    frame_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    area = {0, 0, width, height};
  }
  const auto* row = reinterpret_cast<const unsigned char*>(xrgb8888) + static_cast<size_t>(area.y) * static_cast<size_t>(pitchBytes);
  for (int y = area.y; y < area.y + area.height; ++y, row += pitchBytes)
    std::memcpy(frame_.data() + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(area.x),
                row + static_cast<size_t>(area.x) * 4, static_cast<size_t>(area.width) * 4);
  width_ = width;
  height_ = height;
  lastArea_ = area;
  ++presented_;
  return true;
}

uint32_t HeadlessDisplay::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return frame_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

}  // namespace kelvox::platform
