// The slice loop: literals and the core and arithmetic operations run inline on Registers;
// every other group is called through the group table with the registers stored back.
#include "vm/dispatch.h"

#include <cstdio>

#include "platform/text_encoding.h"
#include "shell/fatal_error.h"
#include "vm/arithmetic_ops.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

namespace {

// Groups whose subsystem is not part of this build skip their words, as a group does with a
// word it does not know.
int skipGroup(MachineContext&, uint32_t) { return 1; }

constexpr GroupHandler kGroups[16] = {
    coreGroup,   // 0x8000
    arithmeticGroup,
    systemGroup,
    nullptr,     // 0x8003: never assigned
    debugGroup,
    inputGroup,
    skipGroup,   // 0x8006 screen mode
    skipGroup,   // 0x8007 saved games
    skipGroup,   // 0x8008 graphics
    skipGroup,   // 0x8009 text windows
    skipGroup,   // 0x800A MIDI
    skipGroup,   // 0x800B WAV
    skipGroup,   // 0x800C transitions
    skipGroup,   // 0x800D CD audio
    inertGroup,  // 0x800E
    inertGroup,  // 0x800F
};

KELVOX_ALWAYS_INLINE GroupHandler handlerFor(uint32_t word) {
  uint32_t index = (word >> 16) - 0x8000u;
  return index < 16 ? kGroups[index] : nullptr;
}

// Fetches the next word, or faults when pc is outside the code.
KELVOX_ALWAYS_INLINE uint32_t fetch(MachineContext& m, Registers& r, const uint32_t* code, uint32_t codeWords) {
  if (r.pc >= codeWords) [[unlikely]] faultOutsideCode(m, r);
  return code[r.pc++];
}

KELVOX_ALWAYS_INLINE void pushLiteral(MachineContext& m, Registers& r, uint32_t word) {
  int32_t v = static_cast<int32_t>(word);
  if (r.count >= r.last) [[unlikely]] faultPushAll(m, r, &v, 1);
  r.items[r.count++] = v;
}

}  // namespace

GroupHandler groupHandler(uint32_t index) { return index < 16 ? kGroups[index] : nullptr; }

void raiseUndefinedInstruction(uint32_t word) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", word);
  shell::raiseFatal(10, platform::toSjis("命令番号") + hex + platform::toSjis("は未定義です"));
}

int coreGroup(MachineContext& m, uint32_t word) {
  Registers r = Registers::load(m);
  Flow flow = execCore(m, r, word);
  r.store(m);
  return flow == Flow::Skip ? 1 : 0;
}

int arithmeticGroup(MachineContext& m, uint32_t word) {
  Registers r = Registers::load(m);
  Flow flow = execArithmetic(m, r, word);
  r.store(m);
  return flow == Flow::Skip ? 1 : 0;
}

int step(MachineContext& m) {
  Registers r = Registers::load(m);
  uint32_t word = fetch(m, r, m.code.data(), static_cast<uint32_t>(m.code.size()));
  if (!(word & 0x80000000u)) {
    pushLiteral(m, r, word);
    r.store(m);
    return 0;
  }
  r.store(m);
  GroupHandler handler = handlerFor(word);
  if (!handler) raiseUndefinedInstruction(word);
  return handler(m, word);
}

void runSlice(MachineContext& m) {
  if (m.debugBoxOpen) return;
  const uint32_t* code = m.code.data();
  const uint32_t codeWords = static_cast<uint32_t>(m.code.size());
  Registers r = Registers::load(m);
  for (int budget = m.instructionsPerTick; budget > 0; --budget) {
    if (m.frameWait | m.drawnFrameWait) break;
    uint32_t word = fetch(m, r, code, codeWords);
    if (!(word & 0x80000000u)) {
      pushLiteral(m, r, word);
      continue;
    }
    const uint32_t group = word >> 16;
    if (group == 0x8000u || group == 0x8001u) {
      Flow flow = group == 0x8000u ? execCore(m, r, word) : execArithmetic(m, r, word);
      if (flow == Flow::Stop) {
        if (m.endRequested) break;
        continue;  // a wait: the check at the top ends the slice
      }
      continue;
    }
    GroupHandler handler = handlerFor(word);
    r.store(m);
    if (!handler) raiseUndefinedInstruction(word);
    handler(m, word);
    r = Registers::load(m);  // the group may have changed the stacks, pc or data memory
    if (m.endRequested) break;
  }
  r.store(m);
}

}  // namespace kelvox::vm
