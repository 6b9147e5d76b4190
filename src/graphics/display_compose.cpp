// Composition of the changed region of the back buffer: a lost back buffer is restored and
// redrawn whole, an unchanged frame draws nothing, and the changed rectangle is cleared to
// black before the sprites are drawn over it.
#include "graphics/display.h"

namespace kelvox::graphics {

using platform::SurfaceResult;

void TDisplay::Compose() {
  // 1. Sorting the sprite list by priority (Marked place: the sprites fill this in.)
  if (back_ == nullptr) return;
  // 2. A lost back buffer lost its picture too: redraw everything, or skip the frame (the
  // changed region stays for the next one).
  if (back_->isLost() != SurfaceResult::Ok) {
    back_->restore();
    markAll();
    if (back_->isLost() != SurfaceResult::Ok) return;
  }
  // 3. Nothing changed: nothing to draw.
  if (!changed_) {
    changedRect_ = kNothingChanged;
    return;
  }
  // 4. Clear the changed rectangle. A rectangle that ended up inverted or off the screen (a
  // sprite wholly outside it) is refused by the surface and clears nothing, as before.
  const common::Rect& c = changedRect_;
  platform::SurfaceRect area{c.left, c.top, c.right, c.bottom};
  back_->colorFill(&area, 0);
  // 5. Draw the sprites that touch it. (Marked place: the sprites fill this in.)
  // 6.
  changed_ = false;
  changedRect_ = kNothingChanged;
}

}  // namespace kelvox::graphics
