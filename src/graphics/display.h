// TDisplay: the engine's one display. It owns the screen-sized surfaces (primary, back buffer,
// the transitions' work and backup buffers), the stores of pattern refs and sprites (which the
// machine's tables name by handle), the lists of patterns and sprites in the order composition
// and surface restoration walk them, the changed region that drives composition, and copies
// each composed frame to the window. Nothing exists on screen until the script's SetScreenMode
// has called Configure and Initialise.
//
// There is no page flipping: every frame is composed into the back buffer and blitted to the
// primary surface, which the platform's SurfaceDevice shows in the window. Only what the
// screen lacks is blitted and shown: the areas composed since the last present, or all of it
// after anyone else drew into the back buffer (a transition step). A present with nothing
// new shows nothing; the window keeps the last picture and redraws it when it must.
//
// Every failure of Initialise is a FatalError with its own code (42 to 55); drawing failures
// are retried once after restoring a lost surface and otherwise ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/rect.h"
#include "graphics/pattern.h"
#include "graphics/pixel_row_ops.h"
#include "graphics/slot_store.h"
#include "platform/surfaces/surface_device.h"

namespace kelvox::graphics {

struct TSprite;  // sprite.h

// The changed rectangle when nothing has changed since the last composition.
inline constexpr common::Rect kNothingChanged{999, 999, -999, -999};

class TDisplay {
 public:
  // Binds the display to the platform's surface device (the stand-in for the window handle
  // and the DirectDraw library); nothing is created yet.
  explicit TDisplay(platform::SurfaceDevice& device);
  ~TDisplay();
  TDisplay(const TDisplay&) = delete;
  TDisplay& operator=(const TDisplay&) = delete;

  // Destroys every pattern and sprite, clears every surface, list and count and sets the
  // changed flag.
  void Create();
  // Stores the mode: [width] × [height] pixels, the full-screen [depth] in bits per pixel (0
  // for a window), [fullScreen]. Nothing is rebuilt until Initialise.
  void Configure(int32_t width, int32_t height, int32_t depth, bool fullScreen);
  // Brings up every surface for the configured mode, releasing the old ones first (patterns
  // and sprites are kept and their surfaces re-made). Failures raise fatal errors 42 to 55.
  void Initialise();
  // Releases every surface. With [keepObjects] the pattern records and sprites stay (a mode
  // change); without, they are destroyed too. Safe to call again.
  void Teardown(bool keepObjects);

  // Composes the changed region and shows it, when initialised and either windowed or active.
  void Refresh();
  // Copies to the window what it does not show yet of the back buffer (see above); a failed
  // blit is retried once, of the whole buffer, after restoring the primary surface.
  void Present();
  // Composes (under Refresh's conditions), then copies the whole back buffer into [target]
  // (restored first if lost). For the pictures before and after a transition.
  void ComposeInto(platform::Surface* target);
  // Draws the changed region of the back buffer (display_compose.cpp).
  void Compose();

  // Marks the whole screen changed (the window must be repainted).
  void InvalidateAll();
  // Adds [area] to the changed rectangle, edge by edge, each edge clamped to the screen.
  void MarkChanged(const common::Rect& area);
  // Makes [area] exactly the changed rectangle (a capture composes just that).
  void SetChangedExactly(const common::Rect& area) {
    changed_ = true;
    changedRect_ = area;
  }
  // Stores whether the window is active; returns the previous value.
  bool SetActive(bool active);

  platform::Surface* BackBuffer() const { return back_; }
  platform::Surface* BackupBuffer() const { return backup_.get(); }
  platform::Surface* WorkBuffer() const { return work_.get(); }
  platform::Surface* Primary() const { return primary_.get(); }
  platform::SurfaceDevice& device() const { return device_; }

  bool initialised() const { return initialised_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // The configured full-screen depth before Initialise; the detected depth (8, 15, 16, 24,
  // 32) after it.
  int32_t depth() const { return depth_; }
  bool fullScreen() const { return fullScreen_; }
  bool active() const { return active_; }
  bool changed() const { return changed_; }
  const common::Rect& changedRect() const { return changedRect_; }
  // The depth's row operations; null before the first Initialise.
  const PixelRowOps* rowOps() const { return rowOps_; }

  // The owners of the pattern refs and the sprites, where handles are looked up (pattern.h).
  SlotStore<TPatternRef>& patterns() { return patterns_; }
  const SlotStore<TPatternRef>& patterns() const { return patterns_; }
  SlotStore<TSprite>& sprites() { return sprites_; }
  const SlotStore<TSprite>& sprites() const { return sprites_; }
  // The lists composition and restoration walk, of the records in the stores. (Kept by the
  // pattern store and the sprites.)
  std::vector<TPattern*>& patternList() { return patternList_; }
  std::vector<TSprite*>& spriteList() { return spriteList_; }

 private:
  void setUp();
  void markAll();
  common::Rect screen() const { return {0, 0, width_, height_}; }
  // Takes a change of the back buffer by anyone but the compositor as a change of all of it.
  void noteOtherDrawing();
  // What the next Present will show of the back buffer; empty: nothing new.
  common::Rect unshownRect();

  platform::SurfaceDevice& device_;
  bool initialised_ = false;
  bool directDraw_ = false;  // we hold the device (DirectDrawCreateEx succeeded)
  std::unique_ptr<platform::Surface> primary_, backVideo_, backSystem_, backup_, work_;
  platform::Surface* back_ = nullptr;  // backVideo_ if it exists, else backSystem_
  int32_t width_ = 0, height_ = 0, depth_ = 0;
  bool fullScreen_ = false;
  bool active_ = false;
  SlotStore<TPatternRef> patterns_;
  SlotStore<TSprite> sprites_;
  std::vector<TSprite*> spriteList_;
  std::vector<TPattern*> patternList_;
  bool changed_ = true;
  common::Rect changedRect_ = kNothingChanged;
  const PixelRowOps* rowOps_ = nullptr;
  // The part of the back buffer the screen does not show yet, known while the back buffer's
  // change count is still [backChangesSeen_] (Present).
  common::Rect unshown_;
  uint64_t backChangesSeen_ = 0;
};

}  // namespace kelvox::graphics
