// State 3 of a transition: the picture after it, and the two transition surfaces.
#include "graphics/display_presenter.h"

#include "common/fatal_error.h"
#include "graphics/pattern_store.h"
#include "vm/machine_context.h"

namespace kelvox::graphics {

using platform::SurfaceMemory;
using platform::SurfaceResult;

void DisplayPresenter::prepareTransition(vm::MachineContext& m) {
  display_.ComposeInto(display_.WorkBuffer());
  ReleasePatternSurfaces(display_);
  platform::SurfaceDevice& device = display_.device();
  const int w = display_.width(), h = display_.height();
  m.effectSurface1.reset();
  m.effectSurface2.reset();
  if (device.createSurface(w, h, SurfaceMemory::VideoAllowed, m.effectSurface2) != SurfaceResult::Ok)
    common::raiseFatal(common::Fault::EffectSurface2);
  if (device.createSurface(w, h, SurfaceMemory::VideoAllowed, m.effectSurface1) != SurfaceResult::Ok) {
    m.effectSurface2.reset();
    common::raiseFatal(common::Fault::EffectSurface1);
  }
  m.effectSurface1->blt(nullptr, display_.BackupBuffer(), nullptr, false);
  m.effectSurface2->blt(nullptr, display_.WorkBuffer(), nullptr, false);
}

}  // namespace kelvox::graphics
