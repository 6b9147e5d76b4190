// The screen, the stand-in for DirectDraw's display mode and primary surface. The display
// subsystem composes each frame in its own surfaces and hands the finished picture here; the
// device shows it over the window's 640 × 480 game area.
//
// Picture. A frame is XRGB8888 (0x00RRGGBB per pixel). It is stretched over the game area
// (nearest pixel), so the game's 640 × 480 shows pixel for pixel at scale 1 and as n × n
// blocks at an integer scale n. The last frame is kept and shown again whenever the window is
// exposed, so the engine redraws only when it has something new.
//
// Full screen is the desktop's own mode: the game area is scaled as large as fits with its 4:3
// aspect kept and black bars filling the rest; the screen's mode never changes. Windowed, the
// window is the game size times the scale.
//
// Threads: engine thread only.
#pragma once

#include <cstdint>

namespace kelvox::platform {

class DisplayDevice {
 public:
  static constexpr int kGameWidth = 640;  // the game area, in game pixels
  static constexpr int kGameHeight = 480;

  virtual ~DisplayDevice() = default;

  // Shows a frame of [width] × [height] pixels, rows [pitchBytes] apart, over the game area.
  // Returns false, showing nothing new, for a null frame, a size ≤ 0, a pitch shorter than a
  // row (or negative), or when the device cannot take the frame.
  virtual bool presentFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes) = 0;

  // Full screen on or off (see above). Returns false, changing nothing, when the window system
  // refuses; the game then goes on in its window.
  virtual bool setFullscreen(bool on) = 0;
  virtual bool fullscreen() const = 0;

  // The integer scale of the windowed game area, 1 or more.
  virtual int scale() const = 0;
};

}  // namespace kelvox::platform
