// Redrawing a pattern's text into its restored surface.
#include "text/text_snapshot.h"

#include "platform/surfaces/surface_glyph_target.h"
#include "text/text_group.h"

namespace kelvox::text {

void TextSnapshot::drawInto(const platform::LockedArea& context) {
  platform::SurfaceGlyphTarget dc(context);
  drawTextInto(window_, dc, window_.shownLength(), fonts_);
}

}  // namespace kelvox::text
