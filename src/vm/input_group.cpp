// Group 0x8005: the mouse position, key and button states, and moving the cursor.
#include "platform/platform.h"
#include "vm/groups.h"
#include "vm/input_state.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

int inputGroup(MachineContext& m, uint32_t word) {
  switch (static_cast<Op>(word)) {
    case Op::GetMouseX:
      m.paramStack.push(m.input ? m.input->mouseX() : 0);
      return 0;
    case Op::GetMouseY:
      m.paramStack.push(m.input ? m.input->mouseY() : 0);
      return 0;
    case Op::IsKeyDown: {
      int32_t vk = m.paramStack.pop();
      m.paramStack.push(m.input ? m.input->isKeyDown(vk) : 0);
      return 0;
    }
    case Op::SetCursorPosition: {
      // The stored position follows only when the resulting mouse-move event arrives. A place
      // off the screen is taken as its nearest edge, where the system's pointer would stop.
      int32_t y = m.paramStack.pop();
      int32_t x = m.paramStack.pop();
      if (m.input) {
        x = m.input->clampX(x);
        y = m.input->clampY(y);
      }
      m.platform.window.setCursorPos(x, y);
      return 0;
    }
    default:
      return 1;
  }
}

}  // namespace kelvox::vm
