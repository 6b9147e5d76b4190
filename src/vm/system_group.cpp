// Group 0x8002: random numbers, the mouse cursor, the window caption and the frame clock.
#include "platform/platform.h"
#include "vm/data_memory.h"
#include "vm/groups.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"
#include "vm/random.h"

namespace kelvox::vm {

int systemGroup(MachineContext& m, uint32_t word) {
  switch (static_cast<Op>(word)) {
    case Op::Random: {
      uint32_t n = static_cast<uint32_t>(m.paramStack.pop());
      uint32_t r = n == 0 ? 0 : static_cast<uint32_t>(nextRandom(m.randomState)) % n;
      m.paramStack.push(static_cast<int32_t>(r));
      return 0;
    }
    case Op::ShowMouseCursor: {
      // Only real changes reach the system, so its display count stays balanced.
      int32_t f = m.paramStack.pop();
      if (f != 0 && m.cursorVisible == 0) {
        m.cursorVisible = 1;
        m.platform.window.showCursor(true);
      } else if (f == 0 && m.cursorVisible != 0) {
        m.cursorVisible = 0;
        m.platform.window.showCursor(false);
      }
      return 0;
    }
    case Op::SetCursorAutoHide:
      if (m.paramStack.pop() != 0) {
        m.cursorAutoHide = 1;
        m.lastMouseMoveTime = m.platform.clock.now();
      } else {
        m.cursorAutoHide = 0;
      }
      return 0;
    case Op::SetCaption: {
      int32_t s = m.paramStack.pop();
      m.platform.window.setCaption(std::string(dataString(m, s)));
      return 0;
    }
    case Op::SetCursorHideDelay:
      m.cursorHideDelay = static_cast<uint32_t>(m.paramStack.pop());
      return 0;
    case Op::ResetFrameClock:
      // Frames that are behind are not made up: the next one ends a period from now.
      m.frameDeadline = m.platform.clock.now();
      return 0;
    default:
      return 1;
  }
}

}  // namespace kelvox::vm
