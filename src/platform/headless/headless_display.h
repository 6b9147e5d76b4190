// A screen without a display, for tests, CI and batch runs: every frame handed to it is kept,
// so tests (and screenshots of a headless run) can read the last one. Full screen is only
// recorded (or refused, for tests); the scale is 1.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display_device.h"

namespace kelvox::platform {

class HeadlessDisplay final : public DisplayDevice {
 public:
  bool setFullscreen(bool on) override {
    if (on && refuseFullscreen_) return false;
    fullscreen_ = on;
    return true;
  }
  // A test's fault: full screen is refused, as by a window system that cannot give it.
  void refuseFullscreen(bool refuse) { refuseFullscreen_ = refuse; }
  bool fullscreen() const override { return fullscreen_; }
  int scale() const override { return 1; }

  // The last frame shown, packed (width × height pixels, no row padding); empty before the first.
  const std::vector<uint32_t>& lastFrame() const { return frame_; }
  int frameWidth() const { return width_; }
  int frameHeight() const { return height_; }
  // The pixel at ([x], [y]) of the last frame; 0 outside it.
  uint32_t pixel(int x, int y) const;
  int framesPresented() const { return presented_; }
  // The part of the last frame that was taken from it (the whole frame when its size changed).
  FrameArea lastArea() const { return lastArea_; }

 protected:
  bool takeFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes, const FrameArea& changed) override;

 private:
  FrameArea lastArea_;
  std::vector<uint32_t> frame_;
  int width_ = 0, height_ = 0;
  int presented_ = 0;
  bool fullscreen_ = false;
  bool refuseFullscreen_ = false;
};

}  // namespace kelvox::platform
