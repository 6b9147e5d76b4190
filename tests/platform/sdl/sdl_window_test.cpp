// The SDL window on SDL's dummy video driver (no display needed; KELVOX_TEST_VIDEODRIVER=x11
// runs the same tests on an X server): one window at a time,
// caption, cursor counter, notices from other threads, frames, pointer warps at every scale,
// and key states.
#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_window.h"
#include "platform/text_encoding.h"

namespace kelvox::platform::sdl {
namespace {

using Kind = WindowEvent::Kind;

class SdlWindowTest : public ::testing::Test {
 protected:
  // SDL's dummy driver, unless a run on a real display server asks for another.
  void SetUp() override {
    const char* driver = std::getenv("KELVOX_TEST_VIDEODRIVER");
    setenv("SDL_VIDEODRIVER", driver != nullptr ? driver : "dummy", 1);
  }

  std::unique_ptr<SdlWindow> open(int scale = 1) {
    std::string error;
    auto window = SdlWindow::create("Zarveth Ver1.10", error, scale);
    EXPECT_NE(window, nullptr) << error;
    return window;
  }

  // Pumps until a MouseMove arrives, for at most a second (a display server reports a pointer
  // warp a little later), and returns the position of the last move, if any.
  static std::optional<Point> awaitMove(SdlWindow& window, Point expected) {
    std::optional<Point> last;
    for (int i = 0; i < 100; ++i) {
      std::vector<WindowEvent> moves = pumpKind(window, Kind::MouseMove);
      if (!moves.empty()) last = Point{moves.back().x, moves.back().y};
      if (last && last->x == expected.x && last->y == expected.y) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return last;
  }

  static std::vector<WindowEvent> pumpKind(SdlWindow& window, Kind kind) {
    std::vector<WindowEvent> all, wanted;
    window.pumpEvents(all);
    for (const WindowEvent& e : all) {
      if (e.kind == kind) wanted.push_back(e);
    }
    return wanted;
  }
};

TEST_F(SdlWindowTest, OnlyOneWindowAtATime) {
  auto first = open();
  ASSERT_NE(first, nullptr);
  std::string error;
  EXPECT_EQ(SdlWindow::create("second", error, 1), nullptr);
  EXPECT_FALSE(error.empty());
  first.reset();
  EXPECT_NE(open(), nullptr) << "a window can open again after the first has gone";
}

TEST_F(SdlWindowTest, CaptionKeepsShiftJisBytes) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->caption(), "Zarveth Ver1.10");
  // 表 and ソ end in 0x5C, a backslash in ASCII.
  std::string sjis = toSjis("表示テスト ソフト");
  ASSERT_EQ(sjis.substr(0, 2), std::string("\x95\x5C"));
  window->setCaption(sjis);
  EXPECT_EQ(window->caption(), sjis);
}

TEST_F(SdlWindowTest, CursorFollowsTheDisplayCounter) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  struct Step {
    bool show;
    int count;
    bool visible;
  };
  const Step steps[] = {
      {false, -1, false}, {false, -2, false}, {true, -1, false},
      {true, 0, true},    {true, 1, true},    {false, 0, true},  {false, -1, false},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(window->showCursor(s.show), s.count);
    EXPECT_EQ(window->cursorVisible(), s.visible) << "count " << s.count;
  }
}

TEST_F(SdlWindowTest, NoticesFromAnotherThreadArriveInOrderAndIntact) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  struct Notice {
    uint32_t message, wParam;
    int32_t lParam;
  };
  const Notice sent[] = {
      {0x3B9, 1, 0},                    // a finished CD track
      {0x3B9, 0xFFFFFFFFu, -5},         // every bit of wParam, a negative lParam
      {0xFFFFFFFFu, 0x80000000u, INT32_MIN},
      {0x400, 2, INT32_MAX},
  };
  std::thread poster([&] {
    for (const Notice& n : sent) EXPECT_TRUE(window->postNotice(n.message, n.wParam, n.lParam));
  });
  poster.join();
  std::vector<WindowEvent> got = pumpKind(*window, Kind::Notice);
  ASSERT_EQ(got.size(), std::size(sent));
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].message, sent[i].message) << i;
    EXPECT_EQ(got[i].wParam, sent[i].wParam) << i;
    EXPECT_EQ(got[i].lParam, sent[i].lParam) << i;
  }
  EXPECT_TRUE(pumpKind(*window, Kind::Notice).empty()) << "a notice is reported once";
}

TEST_F(SdlWindowTest, ANoticeLeftWhenTheWindowGoesDoesNotReachTheNextWindow) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->postNotice(0x3B9, 1, 0));
  window.reset();
  window = open();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(pumpKind(*window, Kind::Notice).empty());
}

TEST_F(SdlWindowTest, FramesOfAnyRealSizeAreShownAndBadOnesRefused) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  std::vector<uint32_t> pixels(640 * 480 + 16, 0x00FF8040u);
  struct Case {
    const char* name;
    const uint32_t* data;
    int width, height, pitch;
    bool shown;
  };
  const Case cases[] = {
      {"game size", pixels.data(), 640, 480, 640 * 4, true},
      {"rows with padding", pixels.data(), 320, 240, 330 * 4, true},
      {"one pixel", pixels.data(), 1, 1, 4, true},
      {"null frame", nullptr, 640, 480, 640 * 4, false},
      {"no width", pixels.data(), 0, 480, 640 * 4, false},
      {"negative height", pixels.data(), 640, -1, 640 * 4, false},
      {"pitch a byte short", pixels.data(), 640, 480, 640 * 4 - 1, false},
      {"negative pitch", pixels.data(), 640, 480, -640 * 4, false},
      {"game size again", pixels.data(), 640, 480, 640 * 4, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(window->display().presentFrame(c.data, c.width, c.height, c.pitch), c.shown) << c.name;
  }
}

TEST_F(SdlWindowTest, FullScreenGoesOnAndOffThroughTheDisplay) {
  auto window = open(2);
  ASSERT_NE(window, nullptr);
  DisplayDevice& display = window->display();
  EXPECT_EQ(display.scale(), 2);
  EXPECT_FALSE(display.fullscreen());
  ASSERT_TRUE(display.setFullscreen(true));
  EXPECT_TRUE(display.fullscreen());
  ASSERT_TRUE(display.setFullscreen(false));
  EXPECT_FALSE(display.fullscreen());
}

// Only the changed part of a frame goes into the texture, and frames come only when the
// picture changes: a window that was exposed, resized or shown again draws the kept frame at
// once, with no new frame, and asks the engine to repaint.
TEST_F(SdlWindowTest, AnExposedWindowIsRedrawnFromTheKeptFrame) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  const uint32_t frame[2 * 2] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
  const uint32_t next[2 * 2] = {0x00111111, 0x00222222, 0x00333333, 0x00444444};
  const FrameArea last{1, 1, 1, 1};
  ASSERT_TRUE(window->display().presentFrame(frame, 2, 2, 2 * 4));
  ASSERT_TRUE(window->display().presentFrame(next, 2, 2, 2 * 4, &last));
  pumpKind(*window, Kind::Paint);  // whatever opening the window reported
  SDL_Renderer* renderer = SDL_GetRenderer(window->handle());
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer, &info);
  const bool readable = SDL_strcmp(info.name, "software") == 0;  // others may drop a shown picture
  for (Uint8 what : {SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_SHOWN}) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);  // the window system lost the picture
    SDL_RenderClear(renderer);
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    const int before = window->display().redraws();
    EXPECT_EQ(pumpKind(*window, Kind::Paint).size(), 1u) << int(what);
    EXPECT_EQ(window->display().redraws(), before + 1) << int(what);
    // At scale 1 each frame pixel covers a 320 × 240 quarter.
    const struct { int x, y; uint32_t colour; } quarters[] = {
        {160, 120, 0xFF0000}, {480, 120, 0x00FF00}, {160, 360, 0x0000FF}, {480, 360, 0x444444}};
    for (const auto& q : quarters) {
      uint32_t pixel = q.colour;
      const SDL_Rect at{q.x, q.y, 1, 1};
      if (readable) SDL_RenderReadPixels(renderer, &at, SDL_PIXELFORMAT_XRGB8888, &pixel, 4);
      EXPECT_EQ(pixel & 0xFFFFFF, q.colour) << int(what) << " at " << q.x << "," << q.y;
    }
  }
}

// A key pressed and released as SDL delivers it, [alt] held.
void pushKey(SDL_Scancode key, bool alt) {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = key;
    e.key.keysym.sym = SDL_GetKeyFromScancode(key);
    e.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
}

TEST_F(SdlWindowTest, AltEnterTogglesFullScreenAndBackUnseenByTheGame) {
  auto window = open(2);
  ASSERT_NE(window, nullptr);
  for (bool expected : {true, false}) {
    pushKey(SDL_SCANCODE_RETURN, true);
    std::vector<WindowEvent> events;
    window->pumpEvents(events);
    EXPECT_EQ(window->display().fullscreen(), expected);
    for (const WindowEvent& e : events) EXPECT_TRUE(e.kind != Kind::KeyDown && e.kind != Kind::KeyUp);
  }
  pushKey(SDL_SCANCODE_RETURN, false);  // Enter alone is the game's
  EXPECT_FALSE(window->display().fullscreen());
  EXPECT_EQ(pumpKind(*window, Kind::KeyDown).size(), 1u);
}

// Print Screen writes the frame last shown, pixel for pixel, as kelvox-001.png in the current
// folder, then kelvox-002.png.
TEST_F(SdlWindowTest, PrintScreenWritesTheShownFrameAsPng) {
  namespace fs = std::filesystem;
  const fs::path before = fs::current_path();
  const fs::path folder = fs::temp_directory_path() / ("kelvox-shot-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::current_path(folder);
  {
    auto window = open();
    ASSERT_NE(window, nullptr);
    const uint32_t frame[2 * 3] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00000000, 0x00FFFFFF, 0x00123456};
    ASSERT_TRUE(window->display().presentFrame(frame, 3, 2, 3 * 4));
    pushKey(SDL_SCANCODE_PRINTSCREEN, false);
    pushKey(SDL_SCANCODE_PRINTSCREEN, false);
    EXPECT_TRUE(pumpKind(*window, Kind::KeyDown).empty()) << "the game saw Print Screen";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, "kelvox-001.png")) << "no kelvox-001.png";
    image.format = PNG_FORMAT_BGRA;  // as 0xAARRGGBB words
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    std::vector<uint32_t> read(PNG_IMAGE_SIZE(image) / 4);
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(read[static_cast<size_t>(i)] & 0xFFFFFF, frame[i]) << "pixel " << i;
    EXPECT_TRUE(fs::exists("kelvox-002.png"));
  }
  fs::current_path(before);
  fs::remove_all(folder);
}

// The pointer is warped to a game pixel and the move comes back, through SDL's scaling of the
// event, on that same pixel.
TEST_F(SdlWindowTest, CursorWarpComesBackOnTheSamePixelAtEveryScale) {
  const int points[][2] = {{0, 0}, {1, 1}, {100, 50}, {319, 240}, {638, 1}, {639, 479}};
  for (int scale : {1, 2, 3}) {
    auto window = open(scale);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->scale(), scale);
    pumpKind(*window, Kind::MouseMove);
    for (const auto& p : points) {
      window->setCursorPos(p[0], p[1]);
      std::optional<Point> got = awaitMove(*window, {p[0], p[1]});
      ASSERT_TRUE(got.has_value()) << "scale " << scale << " (" << p[0] << ", " << p[1] << ")";
      EXPECT_EQ(got->x, p[0]) << "scale " << scale;
      EXPECT_EQ(got->y, p[1]) << "scale " << scale;
    }
  }
}

TEST_F(SdlWindowTest, NothingIsDownWhenNothingIsPressed) {
  auto window = open();
  ASSERT_NE(window, nullptr);
  for (int vk : {1, 2, 4, 16, 27, int{'A'}, 0, 999, -3}) {
    EXPECT_FALSE(window->isKeyDown(vk)) << vk;
  }
}

TEST(SdlWindowScale, TakenFromTheEnvironmentWhenUsable) {
  struct Case {
    const char* value;  // null: unset
    int scale;
  };
  const Case cases[] = {
      {nullptr, 0}, {"1", 1}, {"2", 2}, {"8", 8}, {"9", 1}, {"0", 1},
      {"-2", 1},    {"2x", 1}, {" 2", 1}, {"", 1}, {"99999999999", 1},
  };
  const char* before = std::getenv("KELVOX_SCALE");
  std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
  for (const Case& c : cases) {
    if (c.value) setenv("KELVOX_SCALE", c.value, 1);
    else unsetenv("KELVOX_SCALE");
    EXPECT_EQ(SdlWindow::scaleFromEnvironment(), c.scale) << (c.value ? c.value : "(unset)");
  }
  if (saved) setenv("KELVOX_SCALE", saved->c_str(), 1);
  else unsetenv("KELVOX_SCALE");
}

}  // namespace
// A player without a display gets an error, not a game drawn where nobody sees it.
TEST(SdlWindowWithoutDisplay, RefusesToOpenOffScreen) {
  std::map<std::string, std::optional<std::string>> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    const char* value = std::getenv(name);
    saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
    unsetenv(name);
  }
  std::string error;
  auto window = SdlWindow::create("Zarveth Ver1.10", error, 1);
  for (const auto& [name, value] : saved)
    if (value) setenv(name.c_str(), value->c_str(), 1);
  EXPECT_EQ(window, nullptr);
  EXPECT_NE(error.find("display"), std::string::npos) << error;
}

}  // namespace kelvox::platform::sdl
