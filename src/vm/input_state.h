// The last mouse position the main window saw, and live key and button queries. The window
// writes the position from its mouse events; nothing else does (a cursor move by a script
// shows up only through the mouse-move event it causes). Before the first event it is (0, 0).
#pragma once

#include <cstdint>

namespace kelvox::platform {
class Window;
}

namespace kelvox::vm {

class InputState {
 public:
  explicit InputState(platform::Window& window) : window_(window) {}

  void setMousePosition(int32_t x, int32_t y) {
    mouseX_ = x;
    mouseY_ = y;
  }
  int32_t mouseX() const { return mouseX_; }
  int32_t mouseY() const { return mouseY_; }

  // The screen the pointer moves on (SetScreenMode's size; 640 × 480 until then). A script's
  // cursor move is clamped to it, as the system's pointer never leaves the screen.
  void setScreenSize(int32_t width, int32_t height) {
    screenWidth_ = width > 0 ? width : 1;
    screenHeight_ = height > 0 ? height : 1;
  }
  int32_t clampX(int32_t x) const { return x < 0 ? 0 : x >= screenWidth_ ? screenWidth_ - 1 : x; }
  int32_t clampY(int32_t y) const { return y < 0 ? 0 : y >= screenHeight_ ? screenHeight_ - 1 : y; }

  // 1 if the key or mouse button with Windows virtual-key number [vk] is down now, else 0.
  int isKeyDown(int32_t vk);

 private:
  platform::Window& window_;
  int32_t mouseX_ = 0;
  int32_t mouseY_ = 0;
  int32_t screenWidth_ = 640, screenHeight_ = 480;
};

}  // namespace kelvox::vm
