// The machine's 1024 text windows: one store that owns them, made at start-up and released at
// teardown as the text subsystem's part of the machine (vm/machine_part.h). The text group
// reaches a window by its number through windowAt.
#pragma once

#include <cstdint>
#include <vector>

#include "text/text_window.h"
#include "vm/machine_part.h"

namespace kelvox::text {

class TextWindows final : public vm::MachinePart {
 public:
  // Makes the 1024 default windows, in index order, unless they are there. Running out of
  // memory raises std::bad_alloc with none made (the machine's fault 18).
  void start(vm::MachineContext& m) override;
  // Releases every window with its image, in index order.
  void stop(vm::MachineContext& m) override;
  // Window [index]; null outside 0..1023 and while the windows are not made.
  TextWindow* at(int32_t index);

 private:
  std::vector<TextWindow> windows_;
};

// Window [index] of [m]'s text windows; null outside 0..1023, and when the machine has no
// text windows (not started, or a build without the text subsystem).
TextWindow* windowAt(vm::MachineContext& m, int32_t index);

}  // namespace kelvox::text
