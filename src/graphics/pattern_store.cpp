// Making, refilling, destroying, releasing and restoring pattern surfaces.
#include "graphics/pattern_store.h"

#include <algorithm>
#include <cstring>

#include "common/fatal_error.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;
using platform::LockedArea;
using platform::Surface;
using platform::SurfaceMemory;
using platform::SurfaceResult;

namespace {

// A cleared, keyed surface for a pattern by the surface rules; raises 53 on failure.
std::unique_ptr<Surface> makeSurface(const TDisplay& display, int32_t width, int32_t height, int32_t mode,
                                     bool forceSystem) {
  if (display.BackBuffer() == nullptr) raiseFatal(Fault::OffscreenCreate);  // no surfaces yet
  bool system = (mode & 7) > 1 || width > display.width() || height > display.height() || forceSystem;
  std::unique_ptr<Surface> s;
  if (display.device().createSurface(width, height, system ? SurfaceMemory::System : SurfaceMemory::VideoAllowed,
                                     s) != SurfaceResult::Ok)
    raiseFatal(Fault::OffscreenCreate);
  s->setColorKey(0);
  s->restore();
  s->colorFill(nullptr, 0);
  return s;
}

// Converts [height] rows of [pixels] ([pitch] bytes apart) into the locked surface.
void convertInto(const TDisplay& display, const LockedArea& a, const uint32_t* pixels, int32_t pitch) {
  const auto* from = reinterpret_cast<const uint8_t*>(pixels);
  uint8_t* to = a.pixels;
  for (int32_t r = 0; r < a.height; ++r, from += pitch, to += a.pitch) display.rowOps()->ConvertRow(to, from, a.width);
}

// Records a new pattern with [surface] under a new ref, in the display's store and list. Every
// step that can fail comes before the store takes the ref, so a failure leaves nothing behind.
TPatternRef* record(TDisplay& display, std::unique_ptr<Surface> surface, int32_t width, int32_t height, int32_t mode,
                    std::vector<uint32_t> pixels, const char* tagCheck) {
  auto ref = std::make_unique<TPatternRef>();
  if (ref->tag != kPatternRefTag) raiseFatal(Fault::InvalidPatternPointer, tagCheck);  // as the game checked
  ref->pattern = std::make_unique<TPattern>();
  TPattern* p = ref->pattern.get();
  p->surface = std::move(surface);
  p->width = width;
  p->height = height;
  p->drawMode = mode;
  p->pitch = width * 4;
  p->pixels = std::move(pixels);
  p->owner = ref.get();
  auto& list = display.patternList();
  list.reserve(list.size() + 1);  // so that the append cannot fail once the store has the ref
  TPatternRef* made = ref.get();
  made->handle = display.patterns().add(std::move(ref));
  list.push_back(p);
  return made;
}

// Takes [p] out of the display's list; order is not kept: the last entry takes its place.
void unlist(TDisplay& display, const TPattern* p) {
  auto& list = display.patternList();
  auto it = std::find(list.begin(), list.end(), p);
  if (it != list.end()) {
    *it = list.back();
    list.pop_back();
  }
}

}  // namespace

TPatternRef* findPattern(const TDisplay& display, PatternHandle handle) { return display.patterns().find(handle); }

TPatternRef* CreateFromPixels(TDisplay& display, TPatternRef* oldRef, const uint32_t* pixels, int32_t width,
                              int32_t height, int32_t pitch, int32_t mode, bool forceSystem) {
  if (oldRef) Destroy(display, oldRef);
  if (pixels == nullptr) return nullptr;
  std::unique_ptr<Surface> s = makeSurface(display, width, height, mode, forceSystem);
  LockedArea a;
  if (s->lock(nullptr, a) != SurfaceResult::Ok) raiseFatal(Fault::OffscreenCreate);
  convertInto(display, a, pixels, pitch);
  s->unlock();
  s->setColorKey(0);
  std::vector<uint32_t> copy(static_cast<size_t>(width) * static_cast<size_t>(height));
  std::memcpy(copy.data(), pixels, copy.size() * 4);
  return record(display, std::move(s), width, height, mode, std::move(copy), "01");
}

TPatternRef* CreateFromPixels(TDisplay& display, TPatternRef* oldRef, std::vector<uint32_t> pixels, int32_t width,
                              int32_t height, int32_t mode) {
  if (oldRef) Destroy(display, oldRef);
  std::unique_ptr<Surface> s = makeSurface(display, width, height, mode, false);
  LockedArea a;
  if (s->lock(nullptr, a) != SurfaceResult::Ok) raiseFatal(Fault::OffscreenCreate);
  convertInto(display, a, pixels.data(), width * 4);
  s->unlock();
  s->setColorKey(0);
  return record(display, std::move(s), width, height, mode, std::move(pixels), "01");
}

TPatternRef* CreateBlank(TDisplay& display, TPatternRef* oldRef, int32_t width, int32_t height, int32_t mode,
                         bool forceSystem) {
  if (oldRef) Destroy(display, oldRef);
  std::unique_ptr<Surface> s = makeSurface(display, width, height, mode, forceSystem);
  // No pixel copy: a blank pattern is refilled by clearing it, or from its text snapshot.
  return record(display, std::move(s), width, height, mode, {}, "05");
}

TPatternRef* CapturePacked(TDisplay& display, TPatternRef* oldRef, int32_t x, int32_t y, int32_t width,
                           int32_t height, int32_t mode) {
  // 1. Clip to the screen.
  if (x < 0) {
    width += x;
    x = 0;
  }
  if (y < 0) {
    height += y;
    y = 0;
  }
  if (x + width > display.width()) width = display.width() - x;
  if (y + height > display.height()) height = display.height() - y;
  // 2. An empty rectangle makes no surface (53).
  std::unique_ptr<Surface> s = makeSurface(display, width, height, mode, false);
  // 3. Compose just that rectangle, then let the next frame redraw everything.
  display.SetChangedExactly({x, y, x + width, y + height});
  display.Compose();
  display.InvalidateAll();
  // 4.
  platform::SurfaceRect from{x, y, x + width, y + height};
  s->bltFast(0, 0, display.BackBuffer(), &from, false);
  // 5.
  if (oldRef) Destroy(display, oldRef);
  // 6., 7. The pixels read back as 0x00RRGGBB, as the bitmap copy of the surface gave them.
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  LockedArea a;
  if (s->getDC(a) != SurfaceResult::Ok) raiseFatal(Fault::OffscreenCreate);
  for (int32_t r = 0; r < height; ++r)
    for (int32_t c = 0; c < width; ++c)
      pixels[static_cast<size_t>(r) * static_cast<size_t>(width) + static_cast<size_t>(c)] =
          platform::toXrgb8888(s->rawPixel(c, r), s->format());
  s->releaseDC();
  // 8.
  return record(display, std::move(s), width, height, mode, std::move(pixels), "04");
}

SurfaceResult Clear(TPatternRef* ref) {
  if (ref == nullptr || ref->pattern == nullptr || !ref->pattern->surface) return SurfaceResult::InvalidObject;
  return ref->pattern->surface->colorFill(nullptr, 0);
}

int Refill(const TDisplay& display, TPatternRef* ref) {
  if (ref == nullptr || ref->tag != kPatternRefTag) raiseFatal(Fault::InvalidPatternPointer, "02");
  TPattern* p = ref->pattern.get();
  if (p == nullptr || !p->surface) return 1;
  Surface& s = *p->surface;
  s.restore();
  s.colorFill(nullptr, 0);
  LockedArea a;
  if (p->textSnapshot) {
    if (s.getDC(a) != SurfaceResult::Ok) return 1;
    p->textSnapshot->drawInto(a);
    s.releaseDC();
    return 0;
  }
  if (p->pixels.empty()) return 0;  // a blank pattern: cleared above
  if (s.lock(nullptr, a) != SurfaceResult::Ok || display.rowOps() == nullptr) return 1;
  convertInto(display, a, p->pixels.data(), p->pitch);
  s.unlock();
  return 0;
}

void Destroy(TDisplay& display, TPatternRef* ref) {
  if (ref == nullptr || ref->tag != kPatternRefTag) raiseFatal(Fault::InvalidPatternPointer, "03");
  TPattern* p = ref->pattern.get();
  if (p != nullptr && p->tag != kPatternTag) raiseFatal(Fault::InvalidPattern);
  ref->tag = 0;
  if (p != nullptr) {
    unlist(display, p);
    p->tag = 0;
  }
  if (display.patterns().find(ref->handle) == ref)
    display.patterns().take(ref->handle);  // frees the ref and its pattern
  else
    ref->pattern.reset();  // a ref the store does not hold: its owner frees it
}

void ReleasePatternSurfaces(TDisplay& display) {
  for (TPattern* p : display.patternList()) p->surface.reset();
}

int RestorePatterns(TDisplay& display) {
  if (display.BackBuffer() == nullptr) return 1;
  for (TPattern* p : display.patternList()) {
    if (!p->surface) {
      p->surface = makeSurface(display, p->width, p->height, p->drawMode, false);
      if (Refill(display, p->owner) != 0) raiseFatal(Fault::OffscreenRestore);
    } else if (p->surface->isLost() == SurfaceResult::SurfaceLost) {
      if (Refill(display, p->owner) != 0) raiseFatal(Fault::OffscreenRestore);
    }
  }
  return 0;
}

void destroyAllPatterns(TDisplay& display) {
  display.patternList().clear();
  display.patterns().clear();
}

TDisplay& displayOf(vm::MachineContext& m) {
  if (m.display == nullptr) raiseFatal(Fault::OffscreenCreate);
  return *m.display;
}

TPatternRef* patternAt(const vm::MachineContext& m, uint32_t number) {
  if (number >= vm::kPatternCount || m.display == nullptr) return nullptr;
  return findPattern(*m.display, m.patterns[number]);
}

TPatternRef* replaceWithPixels(vm::MachineContext& m, PatternHandle& entry, const uint32_t* pixels, int32_t width,
                               int32_t height, int32_t pitch, int32_t mode) {
  return replacePattern(m, entry, [&](TDisplay& display, TPatternRef* old) {
    return CreateFromPixels(display, old, pixels, width, height, pitch, mode, false);
  });
}

TPatternRef* replaceWithPixels(vm::MachineContext& m, PatternHandle& entry, std::vector<uint32_t> pixels, int32_t width,
                               int32_t height, int32_t mode) {
  return replacePattern(m, entry, [&](TDisplay& display, TPatternRef* old) {
    return CreateFromPixels(display, old, std::move(pixels), width, height, mode);
  });
}

void releaseMachinePatterns(vm::MachineContext& m) {
  for (PatternHandle& entry : m.patterns) {
    PatternHandle handle = entry;
    entry = {};
    if (TPatternRef* ref = m.display ? findPattern(*m.display, handle) : nullptr) Destroy(*m.display, ref);
  }
}

}  // namespace kelvox::graphics
