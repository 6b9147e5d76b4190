// The virtual-key table against the USB HID keyboard usage table (page 0x07), written here in
// the hex of that table, and Windows' VK_ numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "platform/sdl/virtual_keys.h"

namespace kelvox::platform::sdl {
namespace {

std::vector<int> keysOf(int vk) {
  ScancodeSet set = scancodesForVirtualKey(vk);
  return {set.scancodes.begin(), set.scancodes.begin() + set.count};
}

TEST(VirtualKeys, NamedKeysSitWhereTheUsageTablePutsThem) {
  struct Case {
    const char* name;
    int vk;
    std::vector<int> usages;
  };
  const Case cases[] = {
      {"Backspace", 0x08, {0x2A}},        {"Tab", 0x09, {0x2B}},
      {"Enter, both", 0x0D, {0x28, 0x58}}, {"Shift, both", 0x10, {0xE1, 0xE5}},
      {"Ctrl, both", 0x11, {0xE0, 0xE4}},  {"Alt, both", 0x12, {0xE2, 0xE6}},
      {"Escape", 0x1B, {0x29}},           {"Space", 0x20, {0x2C}},
      {"Page Up", 0x21, {0x4B}},          {"Page Down", 0x22, {0x4E}},
      {"End", 0x23, {0x4D}},              {"Home", 0x24, {0x4A}},
      {"Left", 0x25, {0x50}},             {"Up", 0x26, {0x52}},
      {"Right", 0x27, {0x4F}},            {"Down", 0x28, {0x51}},
      {"Insert", 0x2D, {0x49}},           {"Delete", 0x2E, {0x4C}},
      {"keypad *", 0x6A, {0x55}},         {"keypad +", 0x6B, {0x57}},
      {"keypad -", 0x6D, {0x56}},         {"keypad .", 0x6E, {0x63}},
      {"keypad /", 0x6F, {0x54}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(keysOf(c.vk), c.usages) << c.name;
    for (int usage : c.usages) EXPECT_EQ(virtualKeyForScancode(usage), c.vk) << c.name;
  }
}

TEST(VirtualKeys, RunsOfLettersDigitsFunctionAndKeypadKeys) {
  // Letters: VK is the capital's ASCII code; usage 0x04 is 'a'.
  for (char c = 'A'; c <= 'Z'; ++c) {
    EXPECT_EQ(keysOf(c), std::vector<int>{0x04 + (c - 'A')}) << c;
  }
  // Digits: VK is the digit's ASCII code; usages run 1..9 then 0.
  for (int d = 0; d <= 9; ++d) {
    int usage = d == 0 ? 0x27 : 0x1E + (d - 1);
    EXPECT_EQ(keysOf('0' + d), std::vector<int>{usage}) << d;
  }
  // VK_F1 = 0x70; usage 0x3A is F1.
  for (int f = 1; f <= 12; ++f) {
    EXPECT_EQ(keysOf(0x70 + f - 1), std::vector<int>{0x3A + f - 1}) << "F" << f;
  }
  // VK_NUMPAD0 = 0x60; keypad usages run 1..9 from 0x59, then 0 at 0x62.
  for (int d = 0; d <= 9; ++d) {
    int usage = d == 0 ? 0x62 : 0x59 + (d - 1);
    EXPECT_EQ(keysOf(0x60 + d), std::vector<int>{usage}) << "keypad " << d;
  }
}

TEST(VirtualKeys, EveryKeyBelongsToOneVirtualKeyBothWays) {
  std::set<int> seen;
  for (const VirtualKeyBinding& b : virtualKeyBindings()) {
    EXPECT_TRUE(seen.insert(b.scancode).second) << "usage bound twice: " << b.scancode;
    EXPECT_EQ(virtualKeyForScancode(b.scancode), b.virtualKey);
    std::vector<int> keys = keysOf(b.virtualKey);
    EXPECT_NE(std::find(keys.begin(), keys.end(), b.scancode), keys.end()) << b.virtualKey;
  }
  for (int usage = -1; usage < 600; ++usage) {
    if (!seen.count(usage)) {
      EXPECT_EQ(virtualKeyForScancode(usage), 0) << usage;
    }
  }
}

TEST(VirtualKeys, UnboundNumbersHaveNoKeys) {
  struct Case {
    const char* name;
    int vk;
  };
  const Case cases[] = {
      {"zero", 0},           {"left button", 1}, {"right button", 2}, {"middle button", 4},
      {"VK_CAPITAL", 0x14},  {"VK_LWIN", 0x5B},  {"VK_SEPARATOR", 0x6C}, {"VK_F13", 0x7C},
      {"VK_APPS", 0x5D}, {"VK_NUMLOCK", 0x90}, {"past a byte", 0x100}, {"negative", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(scancodesForVirtualKey(c.vk).count, 0) << c.name;
  // Keys a game never asks about stay unbound: Caps Lock, the Windows key, Print Screen.
  for (int usage : {0x39, 0xE3, 0xE7, 0x46}) EXPECT_EQ(virtualKeyForScancode(usage), 0) << usage;
}

TEST(VirtualKeys, MouseButtonsSwapMiddleAndRight) {
  struct Case {
    int sdlButton;  // 1 left, 2 middle, 3 right, 4/5 extra
    int vk;         // VK_LBUTTON 1, VK_RBUTTON 2, VK_MBUTTON 4, none 0
  };
  const Case cases[] = {{1, 1}, {2, 4}, {3, 2}, {4, 0}, {5, 0}, {0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(virtualKeyForMouseButton(c.sdlButton), c.vk) << c.sdlButton;
    if (c.vk != 0) {
      EXPECT_EQ(mouseButtonForVirtualKey(c.vk), c.sdlButton) << c.vk;
    }
  }
  // VK_CANCEL (3) and the extra buttons VK_XBUTTON1/2 (5, 6) are not mouse buttons here.
  for (int vk : {0, 3, 5, 6, 13}) EXPECT_EQ(mouseButtonForVirtualKey(vk), 0) << vk;
}

}  // namespace
}  // namespace kelvox::platform::sdl
