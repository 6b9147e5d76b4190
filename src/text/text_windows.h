// The machine's 1024 text windows: made at start-up and released at teardown, through the
// hooks the shell gives the machine (vm/machine_context.h).
#pragma once

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::text {

// Fills every empty entry of m.textWindows with a default TextWindow, in index order. Returns
// 0, or 1 when memory runs out (the entries made so far stay for releaseTextWindows).
int createTextWindows(vm::MachineContext& m);
// Releases every window's image and the window, in index order, and clears the entries.
// Returns 0.
int releaseTextWindows(vm::MachineContext& m);

}  // namespace kelvox::text
