// Group 0x8009. Operands are popped in the order the comments give; strings are data words.
// Window numbers outside 0..1023 were never checked by the original; here such a word pops its
// operands and does nothing (TextLength pushes 0), so a bad script cannot reach past the table.
#include "text/text_group.h"

#include <memory>
#include <string>

#include "common/fatal_error.h"
#include "graphics/pattern_store.h"
#include "platform/platform.h"
#include "platform/surfaces/surface_glyph_target.h"
#include "text/text_hook.h"
#include "text/text_snapshot.h"
#include "text/text_window.h"
#include "text/text_windows.h"
#include "vm/data_memory.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::text {

void drawTextInto(TextWindow& w, platform::GlyphTarget& dc, uint32_t limit, platform::FontEngine& fonts) {
  for (int y = 0; y < dc.height(); ++y)
    if (dc.width() > 0) dc.putRun(0, y, dc.width(), 0);
  w.renderGdi(fonts, dc, limit);
}

namespace {

// TextDraw: the pattern becomes the window's page. A pattern of another size (or none) is
// replaced by a blank one of the window's size, which no longer comes from a file; the text is
// drawn through the surface's device context and kept with the pattern for a lost surface.
void drawIntoPattern(vm::MachineContext& m, TextWindow& w, uint32_t limit, int32_t pattern) {
  if (static_cast<uint32_t>(pattern) >= vm::kPatternCount)
    common::raiseFatal(common::Fault::PatternNumberRange, "TextDraw");
  graphics::displayOf(m);  // 53
  graphics::PatternHandle& entry = m.patterns[static_cast<uint32_t>(pattern)];
  graphics::TPatternRef* ref = graphics::patternAt(m, static_cast<uint32_t>(pattern));
  graphics::TPattern* p = ref ? ref->pattern.get() : nullptr;
  if (p == nullptr || p->width != w.width() || p->height != w.height()) {
    ref = graphics::replacePattern(m, entry, [&](graphics::TDisplay& display, graphics::TPatternRef* old) {
      return graphics::CreateBlank(display, old, w.width(), w.height(), 1, true);
    });
    p = ref->pattern.get();
  }
  p->name.clear();
  platform::LockedArea context;
  if (p->surface && p->surface->getDC(context) == platform::SurfaceResult::Ok) {
    platform::SurfaceGlyphTarget dc(context);
    drawTextInto(w, dc, limit, m.platform.fonts);
    p->surface->releaseDC();
  }
  auto* snapshot = dynamic_cast<TextSnapshot*>(p->textSnapshot.get());
  if (snapshot == nullptr) {
    p->textSnapshot = std::make_unique<TextSnapshot>(m.platform.fonts);
    snapshot = static_cast<TextSnapshot*>(p->textSnapshot.get());
  }
  snapshot->take(w);
}

// Hands what the draw of window [index] showed to the text hook, when the run has one.
void announceShown(vm::MachineContext& m, int32_t index, const TextWindow& w, uint32_t limit) {
  if (m.platform.textSink == nullptr || m.textHook == nullptr) return;
  if (auto text = m.textHook->drawn(index, w, limit)) m.platform.textSink->put(*text);
}

}  // namespace

int textGroup(vm::MachineContext& m, uint32_t word) {
  auto pop = [&] { return m.paramStack.pop(); };
  auto window = [&](int32_t n) { return windowAt(m, n); };
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
      int32_t index = pop();
      TextWindow* w = window(index);
      uint32_t limit = static_cast<uint32_t>(pop());  // negative: no limit
      int32_t pattern = pop();
      if (w) {
        drawIntoPattern(m, *w, limit, pattern);
        announceShown(m, index, *w, limit);
      }
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
