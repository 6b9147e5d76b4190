// The virtual-key table: built once at compile time, looked up by a linear scan (a few dozen
// entries, asked a few times per frame at most).
#include "platform/sdl/virtual_keys.h"

#include <cstddef>

namespace kelvox::platform::sdl {
namespace {

constexpr size_t kBindingCount = 85;

constexpr std::array<VirtualKeyBinding, kBindingCount> buildTable() {
  std::array<VirtualKeyBinding, kBindingCount> table{};
  size_t n = 0;
  auto bind = [&](int vk, int scancode) { table[n++] = {vk, scancode}; };
  bind(8, 42);    // VK_BACK      Backspace
  bind(9, 43);    // VK_TAB
  bind(13, 40);   // VK_RETURN    Enter
  bind(13, 88);   //              keypad Enter
  bind(16, 225);  // VK_SHIFT     left
  bind(16, 229);  //              right
  bind(17, 224);  // VK_CONTROL   left
  bind(17, 228);  //              right
  bind(18, 226);  // VK_MENU      left Alt
  bind(18, 230);  //              right Alt
  bind(27, 41);   // VK_ESCAPE
  bind(32, 44);   // VK_SPACE
  bind(33, 75);   // VK_PRIOR     Page Up
  bind(34, 78);   // VK_NEXT      Page Down
  bind(35, 77);   // VK_END
  bind(36, 74);   // VK_HOME
  bind(37, 80);   // VK_LEFT
  bind(38, 82);   // VK_UP
  bind(39, 79);   // VK_RIGHT
  bind(40, 81);   // VK_DOWN
  bind(45, 73);   // VK_INSERT
  bind(46, 76);   // VK_DELETE
  // '0'..'9': HID puts 1..9 at 0x1E..0x26 and 0 after them at 0x27.
  bind('0', 39);
  for (int d = 1; d <= 9; ++d) bind('0' + d, 29 + d);
  // 'A'..'Z' at 0x04..0x1D.
  for (int l = 0; l < 26; ++l) bind('A' + l, 4 + l);
  // VK_NUMPAD0..9: keypad 1..9 at 0x59..0x61, keypad 0 at 0x62.
  bind(96, 98);
  for (int d = 1; d <= 9; ++d) bind(96 + d, 88 + d);
  bind(106, 85);  // VK_MULTIPLY  keypad *
  bind(107, 87);  // VK_ADD       keypad +
  bind(109, 86);  // VK_SUBTRACT  keypad -
  bind(110, 99);  // VK_DECIMAL   keypad .
  bind(111, 84);  // VK_DIVIDE    keypad /
  // VK_F1..VK_F12 at 0x3A..0x45.
  for (int f = 0; f < 12; ++f) bind(112 + f, 58 + f);
  return n == kBindingCount ? table : std::array<VirtualKeyBinding, kBindingCount>{};
}

constexpr auto kTable = buildTable();

constexpr bool sortedByVirtualKey() {
  for (size_t i = 0; i < kTable.size(); ++i) {
    if (kTable[i].virtualKey == 0) return false;  // the builder's count was wrong
    if (i > 0 && kTable[i - 1].virtualKey > kTable[i].virtualKey) return false;
  }
  return true;
}
static_assert(sortedByVirtualKey(), "virtual-key table: wrong count or out of order");

}  // namespace

std::span<const VirtualKeyBinding> virtualKeyBindings() { return kTable; }

ScancodeSet scancodesForVirtualKey(int virtualKey) {
  ScancodeSet set;
  for (const VirtualKeyBinding& b : kTable) {
    if (b.virtualKey == virtualKey && set.count < static_cast<int>(set.scancodes.size())) {
      set.scancodes[static_cast<size_t>(set.count++)] = b.scancode;
    }
  }
  return set;
}

int virtualKeyForScancode(int scancode) {
  for (const VirtualKeyBinding& b : kTable) {
    if (b.scancode == scancode) return b.virtualKey;
  }
  return 0;
}

int virtualKeyForMouseButton(int sdlButton) {
  switch (sdlButton) {
    case 1: return 1;  // left
    case 2: return 4;  // middle
    case 3: return 2;  // right
    default: return 0;
  }
}

int mouseButtonForVirtualKey(int virtualKey) {
  switch (virtualKey) {
    case 1: return 1;
    case 2: return 3;
    case 4: return 2;
    default: return 0;
  }
}

}  // namespace kelvox::platform::sdl
