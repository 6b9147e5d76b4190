// Windows virtual-key numbers and their keys on a PC keyboard, the table behind the window's
// KeyDown/KeyUp events and isKeyDown. Keys are named by their USB HID usage ID (keyboard page
// 0x07), which is the number SDL uses for its scancodes; this file itself needs no SDL, so the
// table can be checked on its own.
//
// Keys are physical positions, as on a US or JIS layout: the key in the 'A' position is 'A'
// whatever the layout prints on it. Where Windows gives one virtual key to two keys (left and
// right Shift, the two Enter keys), both keys are listed and either one counts as down.
#pragma once

#include <array>
#include <span>

namespace kelvox::platform::sdl {

// One key bound to one virtual key.
struct VirtualKeyBinding {
  int virtualKey;  // Windows VK_ number, 1..254
  int scancode;    // USB HID usage ID = SDL_Scancode
};

// Every binding, ordered by virtual key; a virtual key with two keys appears twice in a row.
std::span<const VirtualKeyBinding> virtualKeyBindings();

// The keys of one virtual key: [count] entries of [scancodes] are used (0 for a virtual key
// that has no key here, mouse buttons included).
struct ScancodeSet {
  int count = 0;
  std::array<int, 2> scancodes{};
};

ScancodeSet scancodesForVirtualKey(int virtualKey);

// The virtual key of [scancode], or 0 when it has none in the table (any number may be asked).
int virtualKeyForScancode(int scancode);

// Mouse buttons. SDL numbers them 1 left, 2 middle, 3 right; Windows' virtual keys are 1 left
// (VK_LBUTTON), 2 right (VK_RBUTTON), 4 middle (VK_MBUTTON). Other buttons map to 0.
int virtualKeyForMouseButton(int sdlButton);
int mouseButtonForVirtualKey(int virtualKey);

}  // namespace kelvox::platform::sdl
