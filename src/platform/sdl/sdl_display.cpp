// SdlDisplay: frames into a streaming texture, the texture over the game area.
#include "platform/sdl/sdl_display.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/surfaces/png_writer.h"

#include <SDL.h>

#include "platform/sdl/game_viewport.h"

namespace kelvox::platform::sdl {

SdlDisplay::SdlDisplay(SDL_Window* window, SDL_Renderer* renderer, int scale)
    : window_(window), renderer_(renderer), scale_(scale) {}

SdlDisplay::~SdlDisplay() {
  if (frame_ != nullptr) SDL_DestroyTexture(frame_);
  SDL_DestroyRenderer(renderer_);
}

bool SdlDisplay::takeFrame(const uint32_t* xrgb8888, int width, int height, int pitchBytes,
                           const FrameArea& changed) {
  FrameArea area = changed;
  if (frame_ == nullptr || frameWidth_ != width || frameHeight_ != height) {
    // A new texture holds nothing yet: all of the frame goes in.
    if (frame_ != nullptr) SDL_DestroyTexture(frame_);
    frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    frameWidth_ = frame_ != nullptr ? width : 0;
    frameHeight_ = frame_ != nullptr ? height : 0;
    if (frame_ == nullptr) return false;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    area = {0, 0, width, height};
  }
  if (area.width > 0 && area.height > 0) {
    const auto* first = reinterpret_cast<const unsigned char*>(xrgb8888) +
                        static_cast<size_t>(area.y) * static_cast<size_t>(pitchBytes) + static_cast<size_t>(area.x) * 4;
    SDL_Rect rect{area.x, area.y, area.width, area.height};
    if (SDL_UpdateTexture(frame_, &rect, first, pitchBytes) != 0) {
      forgetFrame();  // its contents are unknown now; the next frame starts a new texture
      return false;
    }
    const unsigned char* row = first;
    for (int y = area.y; y < area.y + area.height; ++y, row += pitchBytes)
      std::memcpy(pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(area.x), row,
                  static_cast<size_t>(area.width) * 4);
  }
  redraw();
  return true;
}

bool SdlDisplay::saveScreenshot() {
  if (pixels_.empty()) return false;
  for (int n = 1; n < 1000; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "kelvox-%03d.png", n);
    std::error_code ec;
    if (std::filesystem::exists(name, ec)) continue;
    std::string error;
    return writePngFile(name, pixels_.data(), frameWidth_, frameHeight_, error);
  }
  return false;
}

bool SdlDisplay::setFullscreen(bool on) {
  if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
  fullscreen_ = on;
  redraw();
  return true;
}

void SdlDisplay::forgetFrame() {
  if (frame_ != nullptr) SDL_DestroyTexture(frame_);
  frame_ = nullptr;
  frameWidth_ = frameHeight_ = 0;
}

void SdlDisplay::redraw() {
  ++redraws_;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);  // the whole window, bars included
  if (frame_ != nullptr) {
    // Drawn in output pixels, which are more than window pixels on a high-density screen.
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0) SDL_GetWindowSize(window_, &w, &h);
    GameViewport area = fitGameArea(w, h);
    SDL_Rect target{area.x, area.y, area.w, area.h};
    SDL_RenderCopy(renderer_, frame_, nullptr, &target);
  }
  SDL_RenderPresent(renderer_);
}

}  // namespace kelvox::platform::sdl
