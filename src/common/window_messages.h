// The Windows message that each platform event stands for, so that window-message listeners
// see (message, wParam, lParam) exactly as the original's window procedure passed them on.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace kelvox::common {

struct WindowMessage {
  uint32_t message;
  uint32_t wParam;
  int32_t lParam;
};

inline constexpr uint32_t kWmActivate = 0x0006;
inline constexpr uint32_t kWmPaint = 0x000F;
inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmKeyDown = 0x0100;
inline constexpr uint32_t kWmKeyUp = 0x0101;
inline constexpr uint32_t kWmMouseMove = 0x0200;
inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmLButtonUp = 0x0202;
inline constexpr uint32_t kWmRButtonDown = 0x0204;
inline constexpr uint32_t kWmRButtonUp = 0x0205;
inline constexpr uint32_t kWmMButtonDown = 0x0207;
inline constexpr uint32_t kWmMButtonUp = 0x0208;
inline constexpr uint32_t kMmMciNotify = 0x03B9;  // a CD track finished: wParam 1

WindowMessage toWindowMessage(const platform::WindowEvent& event);

}  // namespace kelvox::common
