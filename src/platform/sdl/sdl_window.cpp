// SdlWindow: SDL's window, renderer and event queue behind the Window interface.
#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/sdl/game_viewport.h"
#include "platform/sdl/virtual_keys.h"
#include "platform/sdl/window_icon.h"
#include "platform/text_encoding.h"

namespace kelvox::platform::sdl {

// The key table names keys by USB HID usage ID; SDL's scancodes are those IDs.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_Z == 29);
static_assert(SDL_SCANCODE_1 == 30 && SDL_SCANCODE_9 == 38 && SDL_SCANCODE_0 == 39);
static_assert(SDL_SCANCODE_RETURN == 40 && SDL_SCANCODE_ESCAPE == 41 && SDL_SCANCODE_SPACE == 44);
static_assert(SDL_SCANCODE_F1 == 58 && SDL_SCANCODE_F12 == 69);
static_assert(SDL_SCANCODE_INSERT == 73 && SDL_SCANCODE_PAGEDOWN == 78);
static_assert(SDL_SCANCODE_RIGHT == 79 && SDL_SCANCODE_UP == 82);
static_assert(SDL_SCANCODE_KP_DIVIDE == 84 && SDL_SCANCODE_KP_ENTER == 88);
static_assert(SDL_SCANCODE_KP_1 == 89 && SDL_SCANCODE_KP_0 == 98 && SDL_SCANCODE_KP_PERIOD == 99);
static_assert(SDL_SCANCODE_LCTRL == 224 && SDL_SCANCODE_LSHIFT == 225 && SDL_SCANCODE_LALT == 226);
static_assert(SDL_SCANCODE_RCTRL == 228 && SDL_SCANCODE_RSHIFT == 229 && SDL_SCANCODE_RALT == 230);
static_assert(SDL_BUTTON_LEFT == 1 && SDL_BUTTON_MIDDLE == 2 && SDL_BUTTON_RIGHT == 3);

namespace {

// Notices cross threads: [open] says whether SDL's event queue may be pushed to; the window
// clears it, under the lock, before it shuts the queue down.
struct NoticeChannel {
  std::mutex lock;
  bool open = false;
  Uint32 eventType = 0;  // registered once per process; SDL never hands user types back
};

NoticeChannel& noticeChannel() {
  static NoticeChannel channel;
  return channel;
}

void quitSdlVideo() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

// The game area in window coordinates, those of mouse events and pointer warps.
GameViewport windowViewport(SDL_Window* window) {
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  return fitGameArea(w, h);
}

// A mouse event at window pixel ([x], [y]), reported in game pixels.
WindowEvent mouseEvent(SDL_Window* window, WindowEvent::Kind kind, int x, int y, int button = 0) {
  Point game = windowToGame(windowViewport(window), {x, y});
  WindowEvent e{kind};
  e.x = game.x;
  e.y = game.y;
  e.button = button;
  return e;
}

WindowEvent keyEvent(WindowEvent::Kind kind, int vk) {
  WindowEvent e{kind};
  e.virtualKey = vk;
  return e;
}

}  // namespace

int SdlWindow::scaleFromEnvironment() {
  const char* text = std::getenv("KELVOX_SCALE");
  if (text == nullptr) return 0;
  int value = 0;
  const char* end = text + std::strlen(text);
  auto [ptr, ec] = std::from_chars(text, end, value);
  if (ec != std::errc() || ptr != end || value < 1 || value > kMaxScale) return 1;
  return value;
}

std::unique_ptr<SdlWindow> SdlWindow::create(const std::string& sjisCaption, std::string& error) {
  return create(sjisCaption, error, scaleFromEnvironment());
}

std::unique_ptr<SdlWindow> SdlWindow::create(const std::string& sjisCaption, std::string& error, int scale) {
  if (scale < 0 || scale > kMaxScale) scale = 1;
  NoticeChannel& channel = noticeChannel();
  {
    std::lock_guard<std::mutex> guard(channel.lock);
    if (channel.open) {
      error = "a game window is already open";
      return nullptr;
    }
    if (channel.eventType == 0) {
      Uint32 type = SDL_RegisterEvents(1);
      if (type == static_cast<Uint32>(-1)) {
        error = "SDL has no event number left for notices";
        return nullptr;
      }
      channel.eventType = type;
    }
  }

  // The title-bar close button reports a window event only; SDL_QUIT then means a signal or
  // the session ending, and a single click never arrives as two Close events.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // A click that activates the window is also delivered, as on Windows.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = std::string("SDL could not start its video: ") + SDL_GetError();
    return nullptr;
  }
  // Without a display SDL falls back to drawing off screen, where a player would see nothing:
  // that counts as no window, unless the off-screen drivers were asked for by name (tests).
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
  bool invisible = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
  if (invisible && !(wanted && SDL_strcasecmp(wanted, driver) == 0)) {
    error = "no display was found (DISPLAY or WAYLAND_DISPLAY)";
    quitSdlVideo();
    return nullptr;
  }
  // Keys are read as keys; an input method would otherwise swallow them into text.
  SDL_StopTextInput();

  if (scale == 0) {
    // The display the window will be centred on: the first one. Its usable bounds leave out
    // panels and docks.
    SDL_Rect usable{};
    scale = SDL_GetDisplayUsableBounds(0, &usable) == 0 ? comfortableScale(usable.w, usable.h, kMaxScale) : 1;
  }
  // Not resizable: the window manager offers no maximise and keeps the size fixed.
  SDL_Window* window = SDL_CreateWindow(sjisToUtf8(sjisCaption).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        kWidth * scale, kHeight * scale, SDL_WINDOW_HIDDEN);
  if (window == nullptr) {
    error = std::string("SDL could not open the window: ") + SDL_GetError();
    quitSdlVideo();
    return nullptr;
  }
  setWindowIcon(window);
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) {
    error = std::string("SDL could not draw into the window: ") + SDL_GetError();
    SDL_DestroyWindow(window);
    quitSdlVideo();
    return nullptr;
  }

  std::unique_ptr<SdlWindow> result(new SdlWindow(window, renderer, scale, sjisCaption));
  {
    std::lock_guard<std::mutex> guard(channel.lock);
    channel.open = true;
  }
  result->display_->redraw();
  SDL_ShowWindow(window);
  result->display_->redraw();
  return result;
}

SdlWindow::SdlWindow(SDL_Window* window, SDL_Renderer* renderer, int scale, std::string sjisCaption)
    : window_(window), display_(std::make_unique<SdlDisplay>(window, renderer, scale)), caption_(std::move(sjisCaption)) {
  SDL_ShowCursor(SDL_ENABLE);
}

SdlWindow::~SdlWindow() {
  {
    NoticeChannel& channel = noticeChannel();
    std::lock_guard<std::mutex> guard(channel.lock);
    channel.open = false;
  }
  display_.reset();
  SDL_DestroyWindow(window_);
  quitSdlVideo();
}

void SdlWindow::pumpEvents(std::vector<WindowEvent>& events) {
  using Kind = WindowEvent::Kind;
  Uint32 noticeType;
  {
    NoticeChannel& channel = noticeChannel();
    std::lock_guard<std::mutex> guard(channel.lock);
    noticeType = channel.eventType;
  }
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) {
    switch (e.type) {
      case SDL_MOUSEMOTION:
        events.push_back(mouseEvent(window_, Kind::MouseMove, e.motion.x, e.motion.y));
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        // Extra buttons (back, forward) reach no handler, as on the original's form.
        if (int vk = virtualKeyForMouseButton(e.button.button); vk != 0) {
          Kind kind = e.type == SDL_MOUSEBUTTONDOWN ? Kind::MouseDown : Kind::MouseUp;
          events.push_back(mouseEvent(window_, kind, e.button.x, e.button.y, vk));
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        // Alt+Enter toggles full screen and Print Screen saves a screenshot; the game sees
        // neither key.
        if (e.key.keysym.scancode == SDL_SCANCODE_RETURN && (e.key.keysym.mod & KMOD_ALT) != 0) {
          if (e.type == SDL_KEYDOWN && !e.key.repeat) display_->setFullscreen(!display_->fullscreen());
          break;
        }
        if (e.key.keysym.scancode == SDL_SCANCODE_PRINTSCREEN) {
          if (e.type == SDL_KEYDOWN && !e.key.repeat) display_->saveScreenshot();
          break;
        }
        // Auto-repeat is kept: Windows sends every repeat as another key-down.
        if (int vk = virtualKeyForScancode(e.key.keysym.scancode); vk != 0) {
          events.push_back(keyEvent(e.type == SDL_KEYDOWN ? Kind::KeyDown : Kind::KeyUp, vk));
        }
        break;
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_FOCUS_GAINED: events.push_back({Kind::Activate}); break;
          case SDL_WINDOWEVENT_FOCUS_LOST: events.push_back({Kind::Deactivate}); break;
          case SDL_WINDOWEVENT_SHOWN:
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_RESTORED:
          case SDL_WINDOWEVENT_MAXIMIZED:
          case SDL_WINDOWEVENT_SIZE_CHANGED:     // resized, or full screen on or off
          case SDL_WINDOWEVENT_DISPLAY_CHANGED:  // perhaps a screen of another scale
            // Frames come only when the picture changes, so the last one is shown again at
            // once; the engine redraws in full at its next frame.
            display_->redraw();
            events.push_back({Kind::Paint});
            break;
          case SDL_WINDOWEVENT_CLOSE: events.push_back({Kind::Close}); break;
          default: break;
        }
        break;
      case SDL_RENDER_DEVICE_RESET:
        // Textures are gone with the device; the next frame makes a new one.
        display_->forgetFrame();
        display_->redraw();
        events.push_back({Kind::Paint});
        break;
      case SDL_RENDER_TARGETS_RESET:
        display_->redraw();
        events.push_back({Kind::Paint});
        break;
      case SDL_QUIT:
        events.push_back({Kind::Close});
        break;
      default:
        if (noticeType != 0 && e.type == noticeType) {
          WindowEvent notice{Kind::Notice};
          notice.message = static_cast<uint32_t>(e.user.code);
          notice.wParam = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e.user.data1));
          notice.lParam = static_cast<int32_t>(reinterpret_cast<intptr_t>(e.user.data2));
          events.push_back(notice);
        }
        break;
    }
  }
}

bool SdlWindow::postNotice(uint32_t message, uint32_t wParam, int32_t lParam) {
  // The channel, not this object, is what other threads look at: the window clears it before
  // its destruction shuts SDL's queue down.
  NoticeChannel& channel = noticeChannel();
  std::lock_guard<std::mutex> guard(channel.lock);
  if (!channel.open) return false;
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = channel.eventType;
  e.user.code = static_cast<Sint32>(message);
  e.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(wParam));
  e.user.data2 = reinterpret_cast<void*>(static_cast<intptr_t>(lParam));
  return SDL_PushEvent(&e) == 1;
}

void SdlWindow::setCaption(const std::string& sjisCaption) {
  caption_ = sjisCaption;
  SDL_SetWindowTitle(window_, sjisToUtf8(sjisCaption).c_str());
}

std::string SdlWindow::caption() const { return caption_; }

int SdlWindow::showCursor(bool show) {
  int count = cursor_.change(show);
  SDL_ShowCursor(cursor_.visible() ? SDL_ENABLE : SDL_DISABLE);
  return count;
}

void SdlWindow::setCursorPos(int x, int y) {
  // Aimed at the middle of the game pixel's screen pixels: the move event that comes back maps
  // to the same game pixel at any scale.
  Point target = gameToWindow(windowViewport(window_), {x, y});
  SDL_WarpMouseInWindow(window_, target.x, target.y);
}

bool SdlWindow::isKeyDown(int vk) {
  SDL_PumpEvents();
  if (int button = mouseButtonForVirtualKey(vk); button != 0) {
    return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(static_cast<Uint32>(button))) != 0;
  }
  ScancodeSet keys = scancodesForVirtualKey(vk);
  int stateCount = 0;
  const Uint8* state = SDL_GetKeyboardState(&stateCount);
  for (int i = 0; i < keys.count; ++i) {
    int scancode = keys.scancodes[static_cast<size_t>(i)];
    if (scancode < stateCount && state[scancode] != 0) return true;
  }
  return false;
}

void SdlWindow::close() {
  if (closed_) return;
  closed_ = true;
  SDL_HideWindow(window_);
}

}  // namespace kelvox::platform::sdl
