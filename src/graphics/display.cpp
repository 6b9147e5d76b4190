// TDisplay's life: creation, the mode, bringing the surfaces up and down, the changed region,
// and copying frames to the window. Composition itself is in display_compose.cpp.
#include "graphics/display.h"

#include "common/fatal_error.h"
#include "graphics/pattern_store.h"
#include "graphics/sprite.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;
using platform::Surface;
using platform::SurfaceMemory;
using platform::SurfaceResult;

TDisplay::TDisplay(platform::SurfaceDevice& device) : device_(device) {}

// The sprites and patterns go before the surfaces they are drawn on.
TDisplay::~TDisplay() {
  destroyAllSprites(*this);
  destroyAllPatterns(*this);
}

void TDisplay::Create() {
  destroyAllSprites(*this);
  destroyAllPatterns(*this);
  primary_.reset();
  backVideo_.reset();
  backSystem_.reset();
  backup_.reset();
  work_.reset();
  back_ = nullptr;
  directDraw_ = false;
  initialised_ = false;
  changed_ = true;
}

void TDisplay::Configure(int32_t width, int32_t height, int32_t depth, bool fullScreen) {
  width_ = width;
  height_ = height;
  depth_ = depth;
  fullScreen_ = fullScreen;
}

void TDisplay::Initialise() {
  // 1. A second Initialise lets the old surfaces go but keeps the device, patterns and
  // sprites. The first takes the device: the platform's always exists, so error 51
  // ("DirectDrawCreateEx failed") cannot arise here.
  if (directDraw_)
    Teardown(true);
  else
    directDraw_ = true;
  // 2. Each set-up step raises its own error, so the set-up never reports failure itself
  // (which would be error 52).
  setUp();
  // 3. Re-make and refill the pattern surfaces released in step 1.
  RestorePatterns(*this);
  // 4.
  initialised_ = true;
  markAll();
}

void TDisplay::setUp() {
  // 1. The window's client area is the game area; the DisplayDevice sizes it from each frame,
  // so there is no border or position to set here.
  // 2. Cooperative level.
  if (device_.setCooperativeLevel(fullScreen_) != SurfaceResult::Ok) raiseFatal(Fault::CooperativeLevel);
  // 3. Full screen, or silently back to a window when it cannot be had.
  if (fullScreen_ && device_.setDisplayMode(width_, height_, depth_) != SurfaceResult::Ok) {
    device_.setCooperativeLevel(false);
    fullScreen_ = false;
  }
  // 4. The primary surface.
  if (device_.createPrimary(width_, height_, primary_) != SurfaceResult::Ok) raiseFatal(Fault::PrimarySurface);
  // 5. The clipper, windowed only (create, attach, set in one on this platform).
  if (!fullScreen_ && device_.attachClipper() != SurfaceResult::Ok) raiseFatal(Fault::ClipperCreate);
  // 6. Back buffers: video memory first, then system memory; either may fail, not both.
  device_.createSurface(width_, height_, SurfaceMemory::VideoAllowed, backVideo_);
  device_.createSurface(width_, height_, SurfaceMemory::System, backSystem_);
  if (!backVideo_ && !backSystem_) raiseFatal(Fault::BackBuffer);
  back_ = backVideo_ ? backVideo_.get() : backSystem_.get();
  markAll();
  unshown_ = screen();  // a new primary shows nothing yet
  backChangesSeen_ = back_->changeCount();
  // 7. The transitions' buffers, both in system memory.
  if (device_.createSurface(width_, height_, SurfaceMemory::System, work_) != SurfaceResult::Ok)
    raiseFatal(Fault::WorkBuffer);
  if (device_.createSurface(width_, height_, SurfaceMemory::System, backup_) != SurfaceResult::Ok)
    raiseFatal(Fault::BackupBuffer);
  // 8. The primary's format decides the depth and the row operations; 8 bits is taken as
  // direct colour 3:3:2, with no palette.
  const platform::PixelFormat& f = primary_->format();
  int detected = displayDepthFor(f.bitsPerPixel, f.redMask, f.greenMask, f.blueMask);
  rowOps_ = pixelRowOpsFor(detected);
  if (rowOps_ == nullptr) raiseFatal(Fault::UnsupportedScreenMode);
  depth_ = detected;
}

void TDisplay::Teardown(bool keepObjects) {
  // With [keepObjects] the sprites stay and each pattern releases its surface; without, all of
  // them are destroyed (the machine's handles to them then find nothing).
  if (keepObjects) {
    ReleasePatternSurfaces(*this);
  } else {
    destroyAllSprites(*this);
    destroyAllPatterns(*this);
  }
  work_.reset();
  backup_.reset();
  backVideo_.reset();
  backSystem_.reset();
  primary_.reset();
  back_ = nullptr;
  if (directDraw_) {
    device_.restoreDisplayMode();
    device_.setCooperativeLevel(false);
    if (!keepObjects) directDraw_ = false;
  }
  initialised_ = false;
}

void TDisplay::Refresh() {
  if ((active_ || !fullScreen_) && initialised_) {
    Compose();
    Present();
  }
}

void TDisplay::noteOtherDrawing() {
  if (back_ != nullptr && back_->changeCount() != backChangesSeen_) {
    unshown_ = screen();
    backChangesSeen_ = back_->changeCount();
  }
}

common::Rect TDisplay::unshownRect() {
  noteOtherDrawing();
  return common::intersect(unshown_, screen());
}

void TDisplay::Present() {
  if (!primary_ || !back_) return;
  // The window's rectangles are the game area itself on this platform: the same area on both
  // sides, and only the part the screen lacks.
  const common::Rect part = unshownRect();
  if (part.isEmpty()) return;  // the screen shows the back buffer already
  platform::SurfaceRect area{part.left, part.top, part.right, part.bottom};
  const platform::SurfaceRect* shown = &area;
  if (primary_->blt(&area, back_, &area, false) != SurfaceResult::Ok) {
    // A restored primary holds junk: all of it is blitted and shown.
    primary_->restore();
    if (primary_->blt(nullptr, back_, nullptr, false) != SurfaceResult::Ok) return;  // ignored
    shown = nullptr;
  }
  // A refused frame stays unshown and is tried again at the next present.
  if (device_.presentPrimary(primary_.get(), shown) != SurfaceResult::Ok) return;
  unshown_ = common::Rect{};
  backChangesSeen_ = back_->changeCount();
}

void TDisplay::ComposeInto(Surface* target) {
  if ((active_ || !fullScreen_) && initialised_) Compose();
  if (target == nullptr || back_ == nullptr) return;
  if (target->isLost() != SurfaceResult::Ok) target->restore();
  platform::SurfaceRect all{0, 0, width_, height_};
  target->blt(&all, back_, &all, false);
}

void TDisplay::markAll() {
  changed_ = true;
  changedRect_ = {0, 0, width_, height_};
}

void TDisplay::InvalidateAll() { markAll(); }

void TDisplay::MarkChanged(const common::Rect& r) {
  common::Rect& c = changedRect_;
  if (r.left < c.left) c.left = r.left < 0 ? 0 : r.left;
  if (r.top < c.top) c.top = r.top < 0 ? 0 : r.top;
  if (r.right > c.right) c.right = r.right > width_ ? width_ : r.right;
  if (r.bottom > c.bottom) c.bottom = r.bottom > height_ ? height_ : r.bottom;
  changed_ = true;
}

bool TDisplay::SetActive(bool active) {
  bool previous = active_;
  active_ = active;
  return previous;
}

}  // namespace kelvox::graphics
