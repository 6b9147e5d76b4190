// The text a pattern shows, kept with the pattern so that its surface can be drawn again
// after the surface was lost: a copy of the text window as TextDraw last drew it.
#pragma once

#include "graphics/pattern.h"
#include "platform/font_engine.h"
#include "text/text_window.h"

namespace kelvox::text {

class TextSnapshot : public graphics::PatternTextSnapshot {
 public:
  // [fonts] is the platform's engine, which outlives every pattern.
  explicit TextSnapshot(platform::FontEngine& fonts) : fonts_(fonts) {}
  // Takes [w]'s text, sizes, colour, shadow, face and shown length.
  void take(const TextWindow& w) { window_.copyFrom(w); }
  // Draws the text again as far as it was shown.
  void drawInto(const platform::LockedArea& context) override;
  const TextWindow& window() const { return window_; }

 private:
  platform::FontEngine& fonts_;
  TextWindow window_;
};

}  // namespace kelvox::text
