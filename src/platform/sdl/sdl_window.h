// The game window on SDL2: one fixed-size 640 × 480 window (optionally shown larger by an
// integer factor), its renderer, the translation of SDL's events into WindowEvents (pointer
// positions in game pixels, see game_viewport.h), the cursor counter, pointer warps and key
// states. The display subsystem hands it finished frames through
// presentFrame; it knows nothing of the engine's surfaces.
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
#include "platform/window.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace kelvox::platform::sdl {

class SdlWindow final : public Window {
 public:
  static constexpr int kWidth = kGameWidth;  // the game area, in game pixels
  static constexpr int kHeight = kGameHeight;
  static constexpr int kMaxScale = 8;
  static constexpr const char* kInitialCaption = "Zarveth Ver1.10";

  // Starts SDL's video and event subsystems and opens the window, centred, black, captioned
  // "Zarveth Ver1.10", at [scale] times the game size (1..kMaxScale; any other number means
  // 1). Returns null and sets [error] when SDL cannot start, the window cannot be made (no
  // display, say) or another SdlWindow is still open.
  static std::unique_ptr<SdlWindow> create(std::string& error, int scale);

  // As above with the scale from the environment: KELVOX_SCALE=2 shows every game pixel as
  // 2 × 2 screen pixels; missing or unusable values mean 1.
  static std::unique_ptr<SdlWindow> create(std::string& error);

  // The scale KELVOX_SCALE asks for, 1 when unset or not a number in 1..kMaxScale.
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

  // Shows a frame of [width] × [height] XRGB8888 pixels, rows [pitchBytes] apart, stretched
  // over the game area (nearest pixel). The frame is kept and shown again when the window is
  // exposed. Returns false, showing nothing new, for a null frame, a size ≤ 0, a pitch shorter
  // than a row, or when SDL cannot take the frame.
  bool presentFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes);

  // Desktop full screen (no mode change): the game area is scaled to fit the screen with its
  // aspect kept, black bars filling the rest. Off returns to the window's own size. Returns
  // false, changing nothing, when the window system refuses.
  bool setFullscreen(bool on);
  bool fullscreen() const { return fullscreen_; }

  // The window's scale factor, 1..kMaxScale.
  int scale() const { return scale_; }

  // Whether the pointer is shown, after the display counter.
  bool cursorVisible() const { return cursor_.visible(); }

  // For dialogs parented to this window.
  SDL_Window* handle() const { return window_; }

  // Queues a notice (a window message of the original, e.g. 0x3B9 for a finished CD track) for
  // the next pumpEvents. Safe from any thread; returns false, and drops the notice, when no
  // window is open or SDL's queue is full.
  static bool postNotice(uint32_t message, uint32_t wParam, int32_t lParam);

 private:
  SdlWindow(SDL_Window* window, SDL_Renderer* renderer, int scale);
  void redraw();  // clears to black, draws the kept frame if any, presents

  SDL_Window* window_;
  SDL_Renderer* renderer_;
  SDL_Texture* frame_ = nullptr;  // streaming texture with the last presented frame
  int frameWidth_ = 0, frameHeight_ = 0;
  int scale_;
  bool fullscreen_ = false;
  bool closed_ = false;
  std::string caption_;  // Shift-JIS, as set
  CursorCounter cursor_;
};

}  // namespace kelvox::platform::sdl
