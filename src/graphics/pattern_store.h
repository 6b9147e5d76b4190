// The pattern store's operations on the display: making patterns from pixels or blank,
// refilling their surfaces, destroying them, and releasing and restoring every pattern's
// surface together (transitions, mode changes). Pattern numbers and their range checks belong
// to the graphics group; this layer works on refs.
//
// Surface rules shared by every pattern surface: system memory when (draw mode & 7) > 1 (the
// compositor blends those through locks), when larger than the screen either way, or when the
// caller forces it; otherwise video memory is allowed. The colour key is 0, so black is
// transparent in keyed drawing, and a new surface starts cleared to 0.
//
// Every failure is a FatalError: 53 for surfaces, 62 for a ref with a wrong tag, 63 for a
// pattern with a wrong tag.
#pragma once

#include <cstdint>

#include "graphics/display.h"
#include "graphics/pattern.h"
#include "vm/machine_context.h"

namespace kelvox::graphics {

// Destroys [oldRef] if given (and frees it), then makes a pattern of [width] × [height] from
// [pixels] (rows [pitch] bytes apart; the pixel copy takes width × height words as if
// unpadded, as the game always did) converted into the display's format. Null when [pixels]
// is null. Raises 53 when the display has no surfaces or a surface cannot be made or locked.
TPatternRef* CreateFromPixels(TDisplay& display, TPatternRef* oldRef, const uint32_t* pixels, int32_t width,
                              int32_t height, int32_t pitch, int32_t mode, bool forceSystem);
// Like CreateFromPixels with a zero-filled pixel copy and nothing drawn (a text window's page).
TPatternRef* CreateBlank(TDisplay& display, TPatternRef* oldRef, int32_t width, int32_t height, int32_t mode,
                         bool forceSystem);
// MakePackedPattern: composes the screen rectangle ([x], [y], [width] × [height]), clipped to
// the screen, and makes it a pattern of the clipped size with draw [mode]; [oldRef] is
// destroyed (and freed) once the capture is made. 53 when the clipped rectangle is empty.
TPatternRef* CapturePacked(TDisplay& display, TPatternRef* oldRef, int32_t x, int32_t y, int32_t width,
                           int32_t height, int32_t mode);
// Fills the pattern's surface with 0; the surface's result (InvalidObject without one).
platform::SurfaceResult Clear(TPatternRef* ref);
// Redraws the surface from its text snapshot or pixel copy; 0, or 1 when the pattern or its
// surface is missing or cannot be locked. A wrong ref tag raises 62 ("02").
int Refill(const TDisplay& display, TPatternRef* ref);
// Destroys [ref]'s pattern and frees [ref]; the caller empties its table entry. A wrong ref
// tag raises 62 ("03"), a wrong pattern tag 63.
void Destroy(TDisplay& display, TPatternRef* ref);
// Lets every pattern's surface go, keeping the records and pixel copies.
void ReleasePatternSurfaces(TDisplay& display);
// Re-makes missing pattern surfaces and refills lost ones, in list order. Returns 1 when the
// display has no surfaces yet, else 0; a surface that cannot be made or refilled raises 53.
int RestorePatterns(TDisplay& display);
// Destroys every pattern in the display's list (a teardown without keeping objects); refs
// still in the machine's table are left emptied (no pattern) for the machine to free.
void destroyAllPatterns(TDisplay& display);
// Destroys every pattern of the machine's table [m].patterns and empties the entries (the
// machine's teardown, through MachineContext::releasePictures).
void releaseMachinePatterns(vm::MachineContext& m);
// The ref a sprite's handle names, or null when its pattern was destroyed since.
TPatternRef* findPattern(const TDisplay& display, PatternHandle handle);

}  // namespace kelvox::graphics
