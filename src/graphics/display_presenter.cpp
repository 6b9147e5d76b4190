// State 3 of a transition: the picture after it, taken into the work buffer.
#include "graphics/display_presenter.h"

namespace kelvox::graphics {

void DisplayPresenter::prepareTransition(vm::MachineContext&) {
  display_.ComposeInto(display_.WorkBuffer());
  // Then ReleasePatternSurfaces, and the machine's two transition surfaces made from the
  // backup and work buffers (error 54 when one cannot be made). Marked place: the pattern
  // store and the visual effects fill these in; until then no script can reach state 3.
}

}  // namespace kelvox::graphics
