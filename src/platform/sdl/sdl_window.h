// The game window on SDL2: one fixed-size 640 × 480 window (optionally shown larger by an
// integer factor), the translation of SDL's events into WindowEvents (pointer positions in
// game pixels, see game_viewport.h), the cursor counter, pointer warps and key states. Its
// screen, the renderer the display subsystem hands finished frames to, is display().
//
// Threads. Everything here belongs to the thread that called create(), except postNotice,
// which any thread may call. The window owns SDL's video and event subsystems: its destructor
// shuts them down, and shuts SDL down altogether when nothing else (the audio device) still
// holds a part of it.
//
// This header does not include SDL, so the program's entry can create the window without
// seeing SDL's headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/game_viewport.h"
#include "platform/sdl/sdl_display.h"
#include "platform/window.h"

struct SDL_Window;

namespace kelvox::platform::sdl {

class SdlWindow final : public Window {
 public:
  static constexpr int kWidth = kGameWidth;  // the game area, in game pixels
  static constexpr int kHeight = kGameHeight;
  static constexpr int kMaxScale = 8;

  // Starts SDL's video and event subsystems and opens the window, centred, black, captioned
  // [sjisCaption], at [scale] times the game size (1..kMaxScale; 0 the largest that fits the
  // desktop comfortably, see comfortableScale; any other number means 1).
  // Returns null and sets [error] when SDL cannot start, the window cannot be made (no
  // display, say) or another SdlWindow is still open.
  static std::unique_ptr<SdlWindow> create(const std::string& sjisCaption, std::string& error, int scale);

  // As above with the scale from the environment: KELVOX_SCALE=2 shows every game pixel as
  // 2 × 2 screen pixels; unusable values mean 1, and without it the desktop decides.
  static std::unique_ptr<SdlWindow> create(const std::string& sjisCaption, std::string& error);

  // The scale KELVOX_SCALE asks for: 0 when unset (the desktop decides), 1 when it is not a
  // number in 1..kMaxScale.
  static int scaleFromEnvironment();

  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // Window
  void pumpEvents(std::vector<WindowEvent>& events) override;
  void setCaption(const std::string& sjisCaption) override;
  std::string caption() const override;
  int showCursor(bool show) override;
  void setCursorPos(int x, int y) override;
  bool isKeyDown(int vk) override;
  void close() override;
  // Goes through SDL's event queue, which other threads may push to; dropped when the queue is
  // full or the window is being destroyed.
  bool postNotice(uint32_t message, uint32_t wParam, int32_t lParam) override;

  // The window's screen.
  SdlDisplay& display() { return *display_; }
  // The window's scale factor, 1..kMaxScale.
  int scale() const { return display_->scale(); }

  // Whether the pointer is shown, after the display counter.
  bool cursorVisible() const { return cursor_.visible(); }

  // For dialogs parented to this window.
  SDL_Window* handle() const { return window_; }

 private:
  SdlWindow(SDL_Window* window, SDL_Renderer* renderer, int scale, std::string sjisCaption);

  SDL_Window* window_;
  std::unique_ptr<SdlDisplay> display_;  // owns the renderer; destroyed before the window
  bool closed_ = false;
  std::string caption_;  // Shift-JIS, as set
  CursorCounter cursor_;
};

}  // namespace kelvox::platform::sdl
