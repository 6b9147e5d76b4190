// Key queries go to the window system at the moment they are asked.
#include "vm/input_state.h"

#include "platform/window.h"

namespace kelvox::vm {

int InputState::isKeyDown(int32_t vk) { return window_.isKeyDown(vk) ? 1 : 0; }

}  // namespace kelvox::vm
