// Which of the text windows' text counts as shown, for the text hook that hands it to
// learners' and translators' tools. A text counts once, when a TextDraw shows all of it: a
// typewriter reveal gives it when its last character appears, a redraw of the same text gives
// nothing, and text appended to a window that was shown whole gives only the new part. A
// pattern drawn again from its snapshot (after a lost surface) never passes through here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "text/text_window.h"
#include "vm/machine_context.h"

namespace kelvox::text {

class TextHook {
 public:
  // After TextDraw drew window [index] ([w]) as far as [limit] bytes: the text to hand out, as
  // UTF-8 with each carriage return (and a line feed right after one) as '\n' and no line
  // breaks at either end; nullopt when this draw showed nothing new.
  std::optional<std::string> drawn(int index, const TextWindow& w, uint32_t limit);

 private:
  // Per window, the Shift-JIS text last handed out; the window showed it whole since.
  std::array<std::string, vm::kTextWindowCount> handedOut_;
};

}  // namespace kelvox::text
