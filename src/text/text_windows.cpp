// Creation and release of the machine's text windows.
#include "text/text_windows.h"

#include <new>

#include "text/text_window.h"
#include "vm/machine_context.h"

namespace kelvox::text {

int createTextWindows(vm::MachineContext& m) {
  for (TextWindow*& w : m.textWindows) {
    if (w) continue;
    try {
      w = new TextWindow;
    } catch (const std::bad_alloc&) {
      return 1;
    }
  }
  return 0;
}

int releaseTextWindows(vm::MachineContext& m) {
  for (TextWindow*& w : m.textWindows) {
    if (!w) continue;
    w->releaseImage();
    delete w;
    w = nullptr;
  }
  return 0;
}

}  // namespace kelvox::text
