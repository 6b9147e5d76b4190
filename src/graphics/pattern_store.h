// The pattern store's operations on the display: making patterns from pixels or blank,
// refilling their surfaces, destroying them, and releasing and restoring every pattern's
// surface together (transitions, mode changes); and the one way the machine's `patterns`
// table has an entry replaced. Pattern numbers and their range checks belong to the groups.
//
// Ownership: every ref made here belongs to the display's pattern store (pattern.h); a
// returned TPatternRef* is borrowed, and the machine keeps its handle.
//
// Surface rules shared by every pattern surface: system memory when (draw mode & 7) > 1 (the
// compositor blends those through locks), when larger than the screen either way, or when the
// caller forces it; otherwise video memory is allowed. The colour key is 0, so black is
// transparent in keyed drawing, and a new surface starts cleared to 0.
//
// Every failure is a FatalError: 53 for surfaces, 62 for a ref with a wrong tag, 63 for a
// pattern with a wrong tag. Memory running out raises std::bad_alloc; either way nothing is
// left half made.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/display.h"
#include "graphics/pattern.h"
#include "vm/machine_context.h"

namespace kelvox::graphics {

// Destroys [oldRef] if given, then makes a pattern of [width] × [height] from [pixels] (rows
// [pitch] bytes apart; the pixel copy takes width × height words as if unpadded, as the game
// always did) converted into the display's format. Null when [pixels] is null. Raises 53 when
// the display has no surfaces or a surface cannot be made or locked.
TPatternRef* CreateFromPixels(TDisplay& display, TPatternRef* oldRef, const uint32_t* pixels, int32_t width,
                              int32_t height, int32_t pitch, int32_t mode, bool forceSystem);
// CreateFromPixels over [pixels], width × height without padding, which the pattern keeps as
// its copy instead of copying them (surface memory by the rules, never forced).
TPatternRef* CreateFromPixels(TDisplay& display, TPatternRef* oldRef, std::vector<uint32_t> pixels, int32_t width,
                              int32_t height, int32_t mode);
// Like CreateFromPixels with nothing drawn (a text window's page); it keeps no pixel copy, since
// a refill clears it (or redraws its text snapshot).
TPatternRef* CreateBlank(TDisplay& display, TPatternRef* oldRef, int32_t width, int32_t height, int32_t mode,
                         bool forceSystem);
// MakePackedPattern: composes the screen rectangle ([x], [y], [width] × [height]), clipped to
// the screen, and makes it a pattern of the clipped size with draw [mode]; [oldRef] is
// destroyed once the capture is made. 53 when the clipped rectangle is empty.
TPatternRef* CapturePacked(TDisplay& display, TPatternRef* oldRef, int32_t x, int32_t y, int32_t width,
                           int32_t height, int32_t mode);
// Fills the pattern's surface with 0; the surface's result (InvalidObject without one).
platform::SurfaceResult Clear(TPatternRef* ref);
// Redraws the surface from its text snapshot or pixel copy; 0, or 1 when the pattern or its
// surface is missing or cannot be locked. A wrong ref tag raises 62 ("02").
int Refill(const TDisplay& display, TPatternRef* ref);
// Destroys [ref] and its pattern (its handles find nothing from then on). A wrong ref tag
// raises 62 ("03"), a wrong pattern tag 63, both before anything changes.
void Destroy(TDisplay& display, TPatternRef* ref);
// Lets every pattern's surface go, keeping the records and pixel copies.
void ReleasePatternSurfaces(TDisplay& display);
// Re-makes missing pattern surfaces and refills lost ones, in list order. Returns 1 when the
// display has no surfaces yet, else 0; a surface that cannot be made or refilled raises 53.
int RestorePatterns(TDisplay& display);
// Destroys every pattern of the display (a teardown without keeping objects).
void destroyAllPatterns(TDisplay& display);
// The ref a handle names, or null when its pattern was destroyed since.
TPatternRef* findPattern(const TDisplay& display, PatternHandle handle);

// The display the machine's picture commands work on; a script that runs before there is one
// (tests of other groups) raises 53.
TDisplay& displayOf(vm::MachineContext& m);
// The ref the machine's pattern [number] names; null outside 0..1023, for an empty entry, for
// one whose pattern was destroyed since, and without a display.
TPatternRef* patternAt(const vm::MachineContext& m, uint32_t number);
// Destroys every pattern of the machine's table and empties the entries.
void releaseMachinePatterns(vm::MachineContext& m);

// Replaces what the machine's table [entry] names with the ref that [make](display, old)
// returns, where old is the ref the entry names (or null) and [make] destroys it at its own
// step. When [make] fails, the entry still names the old pattern if it was not destroyed yet,
// as the game's table kept it, and is empty if it was. Returns the new ref (null when [make]
// made none, which empties the entry). Raises 53 without a display.
template <typename Make>
TPatternRef* replacePattern(vm::MachineContext& m, PatternHandle& entry, Make&& make) {
  TDisplay& display = displayOf(m);
  try {
    TPatternRef* made = make(display, findPattern(display, entry));
    entry = made != nullptr ? made->handle : PatternHandle{};
    return made;
  } catch (...) {
    if (findPattern(display, entry) == nullptr) entry = {};
    throw;
  }
}

// replacePattern with a pattern made from [pixels] by CreateFromPixels (surface memory by the
// rules, never forced). Null only when [pixels] is null; the entry is then empty.
TPatternRef* replaceWithPixels(vm::MachineContext& m, PatternHandle& entry, const uint32_t* pixels, int32_t width,
                               int32_t height, int32_t pitch, int32_t mode);
// The same with [pixels] (width × height, no padding) handed over to the pattern.
TPatternRef* replaceWithPixels(vm::MachineContext& m, PatternHandle& entry, std::vector<uint32_t> pixels, int32_t width,
                               int32_t height, int32_t mode);

}  // namespace kelvox::graphics
