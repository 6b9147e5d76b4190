// The screen on SDL2: the game window's renderer and a streaming texture holding the last
// frame, drawn over the game area (see game_viewport.h) with black bars around it. Only the
// changed part of a frame is uploaded into the texture. Nothing is drawn between frames; the
// window (SdlWindow) has the display redraw at once when the window is exposed, resized,
// moved to a screen of another scale or switched to or from full screen, and when its
// renderer is reset.
//
// This header does not include SDL.
#pragma once

#include <vector>

#include <cstdint>

#include "platform/display_device.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace kelvox::platform::sdl {

class SdlDisplay final : public DisplayDevice {
 public:
  // Draws into [window] with [renderer], which it owns from now on; [scale] is the window's.
  SdlDisplay(SDL_Window* window, SDL_Renderer* renderer, int scale);
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  bool setFullscreen(bool on) override;
  bool fullscreen() const override { return fullscreen_; }
  int scale() const override { return scale_; }

  // Clears to black, draws the kept frame if any, and shows the result.
  void redraw();
  // Writes the last frame shown as kelvox-NNN.png (the first free number from 001) in the
  // current folder (the game folder). False when nothing was shown yet or the file failed.
  bool saveScreenshot();
  // The renderer lost its textures (SDL_RENDER_DEVICE_RESET): the kept frame is gone too, and
  // the next presentFrame makes a new texture.
  void forgetFrame();
  // How many times the window was drawn (a frame or a redraw); for tests.
  int redraws() const { return redraws_; }

 protected:
  bool takeFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes, const FrameArea& changed) override;

 private:
  SDL_Window* window_;      // not owned
  SDL_Renderer* renderer_;  // owned
  SDL_Texture* frame_ = nullptr;  // the last presented frame
  int frameWidth_ = 0, frameHeight_ = 0;
  std::vector<uint32_t> pixels_;  // a copy of the last frame, packed, for screenshots
  int scale_;
  bool fullscreen_ = false;
  int redraws_ = 0;
};

}  // namespace kelvox::platform::sdl
