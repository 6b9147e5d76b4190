// Platform events as Windows messages.
#include "common/window_messages.h"

namespace kelvox::common {

namespace {
// MAKELPARAM(x, y): the low word is x, the high word y.
int32_t pointParam(int x, int y) {
  return static_cast<int32_t>((static_cast<uint32_t>(y) & 0xFFFF) << 16 | (static_cast<uint32_t>(x) & 0xFFFF));
}

uint32_t buttonMessage(int button, bool down) {
  switch (button) {
    case 2: return down ? kWmRButtonDown : kWmRButtonUp;
    case 4: return down ? kWmMButtonDown : kWmMButtonUp;
    default: return down ? kWmLButtonDown : kWmLButtonUp;
  }
}
}  // namespace

WindowMessage toWindowMessage(const platform::WindowEvent& e) {
  using Kind = platform::WindowEvent::Kind;
  switch (e.kind) {
    case Kind::MouseMove: return {kWmMouseMove, 0, pointParam(e.x, e.y)};
    case Kind::MouseDown: return {buttonMessage(e.button, true), 0, pointParam(e.x, e.y)};
    case Kind::MouseUp: return {buttonMessage(e.button, false), 0, pointParam(e.x, e.y)};
    case Kind::KeyDown: return {kWmKeyDown, static_cast<uint32_t>(e.virtualKey), 0};
    case Kind::KeyUp: return {kWmKeyUp, static_cast<uint32_t>(e.virtualKey), 0};
    case Kind::Activate: return {kWmActivate, 1, 0};
    case Kind::Deactivate: return {kWmActivate, 0, 0};
    case Kind::Paint: return {kWmPaint, 0, 0};
    case Kind::Close: return {kWmClose, 0, 0};
    case Kind::Notice: return {e.message, e.wParam, e.lParam};
  }
  return {0, 0, 0};
}

}  // namespace kelvox::common
