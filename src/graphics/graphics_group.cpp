// Group 0x8008. Operands are popped in the order the comments give; strings are data words.
#include "graphics/graphics_group.h"

#include "common/fatal_error.h"
#include "graphics/pattern_loader.h"
#include "graphics/pattern_store.h"
#include "graphics/sprite.h"
#include "vm/data_memory.h"
#include "vm/instruction_set.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;

namespace {

uint32_t u(int32_t v) { return static_cast<uint32_t>(v); }  // negative numbers are out of range too

void checkSprite(int32_t n, const char* command) {
  if (u(n) >= vm::kSpriteCount) raiseFatal(Fault::SpriteNumberRange, command);
}
void checkPattern(int32_t n, const char* command) {
  if (u(n) >= vm::kPatternCount) raiseFatal(Fault::PatternNumberRange, command);
}

// The sprite the machine's entry [n] names, made when there is none. The entry names it only
// once it is made, so a failure leaves the entry as it was.
TSprite* spriteEntry(vm::MachineContext& m, TDisplay& d, int32_t n) {
  SpriteHandle& entry = m.sprites[u(n)];
  if (TSprite* s = d.sprites().find(entry)) return s;
  TSprite* s = CreateSprite(d);
  entry = s->handle;
  return s;
}

}  // namespace

int graphicsGroup(vm::MachineContext& m, uint32_t word) {
  auto pop = [&] { return m.paramStack.pop(); };
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::SetSprite: {  // pattern, priority, y, x, sprite
      int32_t pattern = pop(), priority = pop(), y = pop(), x = pop(), sprite = pop();
      checkSprite(sprite, "SetSprite");
      checkPattern(pattern, "SetSprite");
      TPatternRef* ref = patternAt(m, u(pattern));
      if (ref == nullptr || ref->tag != kPatternRefTag) return 0;
      TDisplay& d = displayOf(m);
      SetSprite(d, spriteEntry(m, d, sprite), x, y, priority, ref);
      return 0;
    }
    case vm::Op::LoadPattern: {  // pattern, mode, name
      int32_t pattern = pop(), mode = pop(), name = pop();
      checkPattern(pattern, "LoadPattern");
      LoadPattern(m, m.patterns[u(pattern)], mode, vm::dataString(m, name));
      return 0;
    }
    case vm::Op::GeneratePattern: {  // pattern, mode, colour, height, width
      int32_t pattern = pop(), mode = pop(), colour = pop(), height = pop(), width = pop();
      checkPattern(pattern, "GeneratePattern");
      GeneratePattern(m, m.patterns[u(pattern)], mode, u(colour), width, height);
      return 0;
    }
    case vm::Op::DestroySprite: {  // sprite
      int32_t sprite = pop();
      checkSprite(sprite, "DestroySprite");
      SpriteHandle& entry = m.sprites[u(sprite)];
      if (entry.empty()) return 0;
      TDisplay& d = displayOf(m);
      TSprite* s = d.sprites().find(entry);
      entry = {};
      if (s != nullptr) DestroySprite(d, s);
      return 0;
    }
    case vm::Op::SetSpriteRect: {  // height, width, srcY, srcX, sprite
      int32_t height = pop(), width = pop(), srcY = pop(), srcX = pop(), sprite = pop();
      checkSprite(sprite, "SetSpriteRect");
      if (TSprite* s = spriteAt(m, sprite)) SetSpriteRect(displayOf(m), s, srcX, srcY, width, height);
      return 0;
    }
    case vm::Op::SetAlphaRate: {  // rate, sprite
      int32_t rate = pop(), sprite = pop();
      checkSprite(sprite, "SetAlphaRate");
      if (TSprite* s = spriteAt(m, sprite)) SetAlphaRate(displayOf(m), s, rate);
      return 0;
    }
    case vm::Op::SetSpriteEx: {  // pattern, priority, srcHeight, srcWidth, srcY, srcX, height, width, y, x, sprite
      int32_t pattern = pop(), priority = pop(), srcHeight = pop(), srcWidth = pop(), srcY = pop(), srcX = pop();
      int32_t height = pop(), width = pop(), y = pop(), x = pop(), sprite = pop();
      checkSprite(sprite, "SetSpriteEx");
      checkPattern(pattern, "SetSpriteEx");
      TPatternRef* ref = patternAt(m, u(pattern));
      if (ref == nullptr) return 0;  // only emptiness is checked here; SetSpriteEx checks the tags
      TDisplay& d = displayOf(m);
      SetSpriteEx(d, spriteEntry(m, d, sprite), x, y, width, height, srcX, srcY, srcWidth, srcHeight, priority, ref);
      return 0;
    }
    case vm::Op::SetSpriteRectEx: {  // srcHeight, srcWidth, srcY, srcX, height, width, sprite
      int32_t srcHeight = pop(), srcWidth = pop(), srcY = pop(), srcX = pop(), height = pop(), width = pop();
      int32_t sprite = pop();
      checkSprite(sprite, "SetSpriteRectEx");
      if (TSprite* s = spriteAt(m, sprite))
        SetSpriteRectEx(displayOf(m), s, width, height, srcX, srcY, srcWidth, srcHeight);
      return 0;
    }
    case vm::Op::DestroyPattern: {  // pattern; no range error
      int32_t pattern = pop();
      if (u(pattern) >= vm::kPatternCount || m.patterns[u(pattern)].empty()) return 0;
      TDisplay& d = displayOf(m);
      TPatternRef* ref = patternAt(m, u(pattern));
      m.patterns[u(pattern)] = {};
      if (ref != nullptr) Destroy(d, ref);
      return 0;
    }
    case vm::Op::MakePackedPattern: {  // pattern, mode, height, width, y, x
      int32_t pattern = pop(), mode = pop(), height = pop(), width = pop(), y = pop(), x = pop();
      checkPattern(pattern, "MakePackedPattern");
      replacePattern(m, m.patterns[u(pattern)], [&](TDisplay& d, TPatternRef* old) {
        return CapturePacked(d, old, x, y, width, height, mode);
      });
      return 0;
    }
    case vm::Op::SetViewRecording:  // value
      m.recordSeenImages = pop() != 0 ? 1 : 0;
      return 0;
    case vm::Op::GetPatternSize: {  // pattern → height, then width (width on top)
      int32_t pattern = pop();
      checkPattern(pattern, "GetPatternSize");
      TPatternRef* ref = patternAt(m, u(pattern));
      TPattern* p = ref ? ref->pattern.get() : nullptr;
      m.paramStack.push(p ? p->height : 0);
      m.paramStack.push(p ? p->width : 0);
      return 0;
    }
    default:
      return 1;
  }
}

TSprite* spriteAt(const vm::MachineContext& m, int32_t number) {
  if (u(number) >= vm::kSpriteCount || m.display == nullptr) return nullptr;
  return m.display->sprites().find(m.sprites[u(number)]);
}

void MachinePictures::stop(vm::MachineContext& m) {
  for (SpriteHandle& entry : m.sprites) {
    SpriteHandle handle = entry;
    entry = {};
    if (TSprite* s = m.display ? m.display->sprites().find(handle) : nullptr) DestroySprite(*m.display, s);
  }
  releaseMachinePatterns(m);
}

}  // namespace kelvox::graphics
