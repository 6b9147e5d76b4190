// Group 0x8004: shows one value in a modal "Debug" box with OK and Cancel. OK goes on;
// Cancel ends the game at the end of the tick. While the box is open no instruction runs.
#include <string>

#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "vm/data_memory.h"
#include "vm/groups.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

namespace {

// The text buffer holds 255 bytes and the terminating zero.
constexpr size_t kDebugTextBytes = 255;

// [text] cut to the buffer without splitting a double-byte character. A string shorter than
// the buffer is shown whole; a longer one is shown up to the buffer's end rather than not at all.
std::string fitDebugText(std::string_view text) {
  if (text.size() < kDebugTextBytes) return std::string(text);
  size_t end = 0;
  for (size_t i = 0; i < text.size();) {
    size_t width = platform::isSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width >= kDebugTextBytes) break;
    i += width;
    end = i;
  }
  return std::string(text.substr(0, end));
}

std::string debugText(MachineContext& m, uint32_t word) {
  switch (static_cast<Op>(word)) {
    case Op::DebugShowNumber:
      return std::to_string(m.paramStack.pop());
    case Op::DebugShowString:
      return fitDebugText(dataString(m, m.paramStack.pop()));
    case Op::DebugShowStackDepth:
      return platform::toSjis("インデックス＝") + std::to_string(m.paramStack.getCount());
    default:
      return {};  // an operation without a format shows an empty box
  }
}

}  // namespace

int debugGroup(MachineContext& m, uint32_t word) {
  m.debugBoxOpen = 1;
  std::string text;
  try {
    text = debugText(m, word);
  } catch (...) {
    m.debugBoxOpen = 0;  // a failed operand pop must not leave the machine paused for good
    throw;
  }
  auto answer = m.platform.dialogs.messageBox(text, "Debug", platform::Buttons::OkCancel);
  m.endRequested = answer == platform::Answer::Cancel ? 1 : 0;
  m.debugBoxOpen = 0;
  return 0;
}

}  // namespace kelvox::vm
