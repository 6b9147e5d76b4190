// The game window and its input, the stand-in for the main form, GetKeyState, ShowCursor and
// SetCursorPos.
//
// Events. The host pumps the window once per pass of its main loop; each platform event comes
// back as a WindowEvent in the order it happened: mouse moves and buttons with client
// coordinates (the 640 × 480 game area, whatever the window's real size), key presses as
// Windows virtual-key numbers, activation, paint (the picture was damaged), a close request
// from the title bar, and notices: platform happenings that the original received as window
// messages (a finished CD track arrives as message 0x3B9 with wParam 1).
//
// Cursor. ShowCursor keeps a display counter as Windows does: each call adds or subtracts one
// and the pointer is visible while the counter is 0 or more.
//
// Keys. isKeyDown answers for the moment of the call: letters, digits, F-keys, arrows, Enter
// 13, Escape 27, Space 32, Shift 16, Ctrl 17, Alt 18 and mouse buttons 1 (left), 2 (right),
// 4 (middle). Unknown numbers answer false.
//
// Threads. Every call belongs to the engine thread (the one that pumps), except postNotice,
// which any thread may call: it is how work done elsewhere (the CD stream finishing a track)
// reaches the engine, as a Notice event of the next pump, which the main window passes to the
// window-message listeners.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::platform {

struct WindowEvent {
  enum class Kind { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, Activate, Deactivate, Paint, Close, Notice };
  Kind kind;
  int x = 0, y = 0;       // client coordinates of mouse events
  int button = 0;         // mouse events: virtual key 1 left, 2 right, 4 middle
  int virtualKey = 0;     // KeyDown, KeyUp
  uint32_t message = 0;   // Notice
  uint32_t wParam = 0;
  int32_t lParam = 0;
};

class Window {
 public:
  virtual ~Window() = default;

  // Appends the events that arrived since the last call to [events]; never blocks.
  virtual void pumpEvents(std::vector<WindowEvent>& events) = 0;

  // The title bar text; [sjisCaption] is Shift-JIS.
  virtual void setCaption(const std::string& sjisCaption) = 0;
  virtual std::string caption() const = 0;

  // ShowCursor(TRUE/FALSE): changes the display counter by one and returns its new value.
  virtual int showCursor(bool show) = 0;

  // Moves the system pointer to the game pixel ([x], [y]) of the client area; the move is
  // reported back later as a MouseMove event. Points outside the area are still passed on.
  virtual void setCursorPos(int x, int y) = 0;

  // GetKeyState's "down" bit for Windows virtual key [vk].
  virtual bool isKeyDown(int vk) = 0;

  // The window will not be shown again; later pumps may still report events.
  virtual void close() = 0;

  // Queues a Notice event with ([message], [wParam], [lParam]) for the next pumpEvents, after
  // the notices posted before it. Safe from any thread. Returns false, and drops the notice,
  // when the queue cannot take it (no window open, or the system's queue is full).
  virtual bool postNotice(uint32_t message, uint32_t wParam, int32_t lParam) = 0;
};

// Windows' cursor display counter over a boolean cursor: visible while the count is ≥ 0.
class CursorCounter {
 public:
  // Returns the new count.
  int change(bool show) { return show ? ++count_ : --count_; }
  int count() const { return count_; }
  bool visible() const { return count_ >= 0; }

 private:
  int count_ = 0;
};

}  // namespace kelvox::platform
