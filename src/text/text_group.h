// Instruction group 0x8009: the script's text windows (build the text, set colour, size and
// shadow, draw it into a pattern).
#pragma once

#include <cstdint>

#include "platform/font_engine.h"

namespace kelvox::vm {
struct MachineContext;
}

namespace kelvox::text {

class TextWindow;

// Handles a word of group 0x8009; 0 if known, 1 if not (see vm/groups.h).
int textGroup(vm::MachineContext& m, uint32_t word);

// TextDraw's drawing, for the pattern store to call with a pattern's surface as [dc]: fills
// all of [dc] with colour value 0, then draws the first [limit] bytes of [w] with renderGdi
// (whose result, as in the original, is not looked at: a missing font leaves the fill).
void drawTextInto(TextWindow& w, platform::GlyphTarget& dc, uint32_t limit, platform::FontEngine& fonts);

}  // namespace kelvox::text
