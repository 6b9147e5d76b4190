// Group 0x800C. Operands are popped in the order the comments give.
#include "graphics/effects_group.h"

#include "graphics/display.h"
#include "graphics/pattern_store.h"
#include "graphics/visual_effector.h"
#include "vm/instruction_set.h"

namespace kelvox::graphics {

int effectsGroup(vm::MachineContext& m, uint32_t word) {
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::BeginEffect:  // kind (its low byte, signed)
      m.transitionEffect = static_cast<int8_t>(m.paramStack.pop() & 0xFF);
      m.transitionState = vm::kCaptureBefore;
      return 0;
    case vm::Op::PrepareEffect:
      m.transitionState = vm::kCaptureAfter;
      return 0;
    case vm::Op::GetEffectSteps:  // → steps of the chosen kind, 0 outside 0..11
      m.paramStack.push(m.effectSteps(m.transitionEffect));
      return 0;
    case vm::Op::DrawEffect: {  // step
      m.transitionStep = m.paramStack.pop();
      const int kind = m.transitionEffect;
      if (kind < 0 || kind >= TVisualEffector::kKinds) return 1;
      // Before PrepareEffect's frame there are no transition surfaces: nothing to draw from.
      if (!m.display || !m.display->BackBuffer() || !m.effectSurface1 || !m.effectSurface2) return 0;
      TVisualEffector::Draw(kind, m.transitionStep, m.effectSteps(kind), *m.display->BackBuffer(),
                            *m.effectSurface1, *m.effectSurface2, m.randomState);
      return 0;
    }
    case vm::Op::EndEffect:
      m.transitionState = vm::kPresentFrame;
      m.effectSurface1.reset();
      m.effectSurface2.reset();
      if (m.display) RestorePatterns(*m.display);
      return 0;
    default:
      return 1;
  }
}

}  // namespace kelvox::graphics
