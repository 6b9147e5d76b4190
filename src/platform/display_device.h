// The screen, the stand-in for DirectDraw's display mode and primary surface. The display
// subsystem composes each frame in its own surfaces and hands the finished picture here; the
// device shows it over the window's 640 × 480 game area.
//
// Picture. A frame is XRGB8888 (0x00RRGGBB per pixel). It is stretched over the game area
// (nearest pixel), so the game's 640 × 480 shows pixel for pixel at scale 1 and as n × n
// blocks at an integer scale n. The last frame is kept and shown again whenever the window is
// exposed, resized or switched to or from full screen, so the engine hands over a frame only
// when it has something new, and then may say which part of it changed: the device takes
// just that part into the picture it keeps.
//
// Full screen is the desktop's own mode: the game area is scaled as large as fits with its 4:3
// aspect kept and black bars filling the rest; the screen's mode never changes. Windowed, the
// window is the game size times the scale.
//
// Threads: engine thread only.
#pragma once

#include <cstdint>

namespace kelvox::platform {

// A part of a frame: columns [x, x + width) of rows [y, y + height), in frame pixels.
struct FrameArea {
  int x = 0, y = 0, width = 0, height = 0;
  constexpr bool operator==(const FrameArea&) const = default;
};

class DisplayDevice {
 public:
  static constexpr int kGameWidth = 640;  // the game area, in game pixels
  static constexpr int kGameHeight = 480;

  virtual ~DisplayDevice() = default;

  // Shows a frame of [width] × [height] pixels, rows [pitchBytes] apart, over the game area.
  // Returns false, showing nothing new, for a null frame, a size ≤ 0, a pitch shorter than a
  // row (or negative), or when the device cannot take the frame.
  bool presentFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes) {
    return presentFrame(xrgb8888, width, height, pitchBytes, nullptr);
  }
  // The same, where the frame differs from the one shown last only inside [changed] (null:
  // anywhere). The device reads only that part when the last frame it took had the same size
  // and it still holds it; otherwise, and for a [changed] that is not inside the frame, it
  // takes the whole frame. An empty [changed] shows the kept picture again.
  bool presentFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes, const FrameArea* changed) {
    if (xrgb8888 == nullptr || width <= 0 || height <= 0 || pitchBytes < 0 || pitchBytes / 4 < width) return false;
    FrameArea all{0, 0, width, height};
    const bool inside = changed != nullptr && changed->x >= 0 && changed->y >= 0 && changed->width >= 0 &&
                        changed->height >= 0 && changed->width <= width - changed->x &&
                        changed->height <= height - changed->y;
    return takeFrame(xrgb8888, width, height, pitchBytes, inside ? *changed : all);
  }

  // Full screen on or off (see above). Returns false, changing nothing, when the window system
  // refuses; the game then goes on in its window.
  virtual bool setFullscreen(bool on) = 0;
  virtual bool fullscreen() const = 0;

  // The integer scale of the windowed game area, 1 or more.
  virtual int scale() const = 0;

 protected:
  // presentFrame's work, for a frame already checked and a [changed] part inside it (the
  // whole frame when the caller did not know).
  virtual bool takeFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes, const FrameArea& changed) = 0;
};

}  // namespace kelvox::platform
