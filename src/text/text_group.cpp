// Group 0x8009. Operands are popped in the order the comments give; strings are data words.
// Window numbers outside 0..1023 were never checked by the original; here such a word pops its
// operands and does nothing (TextLength pushes 0), so a bad script cannot reach past the table.
#include "text/text_group.h"

#include <string>

#include "platform/platform.h"
#include "text/text_window.h"
#include "vm/data_memory.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::text {

void drawTextInto(TextWindow& w, platform::GlyphTarget& dc, uint32_t limit, platform::FontEngine& fonts) {
  for (int y = 0; y < dc.height(); ++y)
    if (dc.width() > 0) dc.putRun(0, y, dc.width(), 0);
  w.renderGdi(fonts, dc, limit);
}

int textGroup(vm::MachineContext& m, uint32_t word) {
  auto pop = [&] { return m.paramStack.pop(); };
  auto window = [&](int32_t n) -> TextWindow* {
    return n >= 0 && n < vm::kTextWindowCount ? m.textWindows[n] : nullptr;
  };
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::TextInit: {  // window, height, width, fontHeight
      TextWindow* w = window(pop());
      int32_t height = pop();
      int32_t width = pop();
      int32_t fontHeight = pop();
      if (w) {
        w->reset(fontHeight, width, height, 0xFFFFFF);  // white text
        w->setFaceName(m.fontName);
      }
      return 0;
    }
    case vm::Op::TextClear:  // window
      if (TextWindow* w = window(pop())) w->clear();
      return 0;
    case vm::Op::TextAddString: {  // window, string
      TextWindow* w = window(pop());
      std::string_view s = vm::dataString(m, pop());
      if (w) w->append(s);
      return 0;
    }
    case vm::Op::TextAddNumber: {  // window, value: unsigned decimal (-1 is 4294967295)
      TextWindow* w = window(pop());
      uint32_t value = static_cast<uint32_t>(pop());
      if (w) w->append(std::to_string(value));
      return 0;
    }
    case vm::Op::TextLength: {  // window -> bytes of text
      TextWindow* w = window(pop());
      m.paramStack.push(w ? static_cast<int32_t>(w->length()) : 0);
      return 0;
    }
    case vm::Op::TextDraw: {  // window, limit, pattern
      TextWindow* w = window(pop());
      uint32_t limit = static_cast<uint32_t>(pop());  // negative: no limit
      int32_t pattern = pop();
      (void)w;
      (void)limit;
      (void)pattern;
      // PATTERN STORE: the drawing lands here with the pattern store. In order:
      //  1. if pattern slot [pattern] is empty or its surface is not w->width() × w->height(),
      //     replace it with a blank pattern of that size (draw mode 1, system memory);
      //  2. set the pattern's source file name to "" (it no longer comes from a file);
      //  3. drawTextInto(*w, <the pattern's surface>, limit, m.platform.fonts); a surface whose
      //     drawing context cannot be had draws nothing and raises nothing;
      //  4. give the pattern a text snapshot if it has none, then snapshot.copyFrom(*w); the
      //     display's Refill of a lost surface calls drawTextInto(snapshot, surface,
      //     snapshot.shownLength(), fonts) to draw the same text again.
      return 0;
    }
    case vm::Op::TextColor: {  // colour (0xRRGGBB), window
      int32_t colour = pop();
      if (TextWindow* w = window(pop())) w->setColour(colour);
      return 0;
    }
    case vm::Op::TextSize: {  // fontHeight, window
      int32_t h = pop();
      if (TextWindow* w = window(pop())) w->setFontHeight(h);
      return 0;
    }
    case vm::Op::TextShadow: {  // flag, window
      int32_t flag = pop();
      if (TextWindow* w = window(pop())) w->setShadow(flag);
      return 0;
    }
    default:
      return 1;
  }
}

}  // namespace kelvox::text
