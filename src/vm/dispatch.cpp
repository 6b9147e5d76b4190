// The slice loop: literals and the core and arithmetic operations run inline on Registers,
// threaded through a jump table; every other group is called through the group table with
// the registers stored back.
#include "vm/dispatch.h"

#include <cstdio>
#include <type_traits>

#include "common/fatal_error.h"
#include "vm/hot_ops.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

namespace {

// The group table is read only on the way to a group that is not inline in the slice loop.
KELVOX_ALWAYS_INLINE GroupHandler handlerFor(const MachineContext& m, uint32_t word) {
  uint32_t index = (word >> 16) - 0x8000u;
  return index < 16 ? m.groups[index] : nullptr;
}

// Fetches the next word, or faults when pc is outside the code.
KELVOX_ALWAYS_INLINE uint32_t fetch(MachineContext& m, Registers& r, const uint32_t* code, uint32_t codeWords) {
  if (r.pc >= codeWords) [[unlikely]] faultOutsideCode(m, r);
  return code[r.pc++];
}

KELVOX_ALWAYS_INLINE void pushLiteral(MachineContext& m, Registers& r, uint32_t word) {
  int32_t v = static_cast<int32_t>(word);
  if (r.count >= r.last) [[unlikely]] faultPushAll(m, r, &v, 1);
  pushTop(r, v);
}

}  // namespace

int skipGroup(MachineContext&, uint32_t) { return 1; }

GroupTable machineGroups() {
  return {
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
}

void raiseUndefinedInstruction(uint32_t word) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", word);
  common::raiseFatal(common::Fault::UndefinedInstruction, hex);
}

namespace {

// One core or arithmetic operation through a switch over the same bodies as the slice loop.
Flow execHot(MachineContext& m, Registers& r, uint32_t word) {
#define vmcase(name) case keyOf(Op::name):
#define vmbreak return Flow::Next
#define vmjump return Flow::Next
#define vmstop return Flow::Stop
  switch (hotKey(word)) {
#include "vm/hot_ops.inc"
    default:
      return Flow::Skip;
  }
#undef vmcase
#undef vmbreak
#undef vmjump
#undef vmstop
}

int runHotGroup(MachineContext& m, uint32_t word) {
  Registers r = Registers::load(m);
  Flow flow = execHot(m, r, word);
  r.store(m);
  return flow == Flow::Skip ? 1 : 0;
}

}  // namespace

int coreGroup(MachineContext& m, uint32_t word) { return runHotGroup(m, word); }

int arithmeticGroup(MachineContext& m, uint32_t word) { return runHotGroup(m, word); }

int step(MachineContext& m) {
  Registers r = Registers::load(m);
  uint32_t word = fetch(m, r, m.code.data(), static_cast<uint32_t>(m.code.size()));
  if (!(word & 0x80000000u)) {
    pushLiteral(m, r, word);
    r.store(m);
    return 0;
  }
  r.store(m);
  GroupHandler handler = handlerFor(m, word);
  if (!handler) raiseUndefinedInstruction(word);
  return handler(m, word);
}

void decodeCode(MachineContext& m) {
  m.codeKeys.resize(m.code.size() + 1);
  for (size_t i = 0; i < m.code.size(); ++i) m.codeKeys[i] = static_cast<uint8_t>(hotKey(m.code[i]));
  m.codeKeys.back() = kKeyOutside;
}

void runSlice(MachineContext& m) {
  if (m.debugBoxOpen) return;
  if (m.codeKeys.size() != m.code.size() + 1) decodeCode(m);
  // The pause flags are set only by instructions, so they are looked at once here and then
  // after each instruction that may have set them (vmstop, or any other group).
  if (m.frameWait | m.drawnFrameWait) return;
  int budget = m.instructionsPerTick;
  if (budget <= 0) return;
  const uint32_t* code = m.code.data();
  const uint8_t* keys = m.codeKeys.data();
  const uint32_t codeWords = static_cast<uint32_t>(m.code.size());
  Registers r = Registers::load(m);

  // Every entry of the table: the literal, 32 core and 32 arithmetic slots, the other groups,
  // the end of the code. Slots no operation uses skip the word, as its group would.
  static_assert(kGroupSizes[0] + 11 == 32 && kGroupSizes[1] + 6 == 32, "the skip runs fill both groups' slots");
  static_assert(1 + 32 + 32 + 2 == kKeyCount, "one table entry per key");
#define KV_LABEL(name) &&op_##name,
#define KV_SKIP(n) KV_SKIP_##n
#define KV_SKIP_1 &&op_skip,
#define KV_SKIP_6 KV_SKIP_1 KV_SKIP_1 KV_SKIP_1 KV_SKIP_1 KV_SKIP_1 KV_SKIP_1
#define KV_SKIP_11 KV_SKIP_6 KV_SKIP_1 KV_SKIP_1 KV_SKIP_1 KV_SKIP_1 KV_SKIP_1
  static void* const kTable[kKeyCount] = {
      &&op_literal,
      KV_LABEL(LoadWord) KV_LABEL(StoreWord) KV_LABEL(LoadByte) KV_LABEL(StoreByte) KV_LABEL(Dup) KV_LABEL(Over)
      KV_LABEL(Drop) KV_LABEL(Return) KV_LABEL(End) KV_LABEL(WaitFrame) KV_LABEL(Jump) KV_LABEL(JumpRelative)
      KV_LABEL(Call) KV_LABEL(CallRelative) KV_LABEL(JumpIf) KV_LABEL(JumpRelativeIf) KV_LABEL(JumpIfNot)
      KV_LABEL(JumpRelativeIfNot) KV_LABEL(Swap) KV_LABEL(WaitDrawnFrame) KV_LABEL(DropReturns)
      KV_SKIP(11)
      KV_LABEL(Add) KV_LABEL(Sub) KV_LABEL(MulU) KV_LABEL(DivU) KV_LABEL(ModU) KV_LABEL(Or) KV_LABEL(And)
      KV_LABEL(Xor) KV_LABEL(Not) KV_LABEL(Neg) KV_LABEL(Eq) KV_LABEL(Ne) KV_LABEL(LtU) KV_LABEL(LeU)
      KV_LABEL(GtU) KV_LABEL(GeU) KV_LABEL(MulS) KV_LABEL(DivS) KV_LABEL(ModS) KV_LABEL(LtS) KV_LABEL(LeS)
      KV_LABEL(GtS) KV_LABEL(GeS) KV_LABEL(ShrU) KV_LABEL(Shl) KV_LABEL(ShrS)
      KV_SKIP(6)
      &&op_other,
      &&op_outside,
  };
#undef KV_LABEL
#undef KV_SKIP
#undef KV_SKIP_1
#undef KV_SKIP_6
#undef KV_SKIP_11

// pc is checked where it can leave the code: at the start and after a jump. Straight-line
// operations step onto the next key, at worst the kKeyOutside sentinel past the end.
#define KV_GO()                   \
  do {                            \
    goto* kTable[keys[r.pc++]];   \
  } while (0)
#define KV_CHECK_AND_GO()                                        \
  do {                                                           \
    if (r.pc >= codeWords) [[unlikely]] faultOutsideCode(m, r);  \
    KV_GO();                                                     \
  } while (0)
#define vmcase(name) op_##name:
#define vmbreak                         \
  do {                                  \
    if (--budget == 0) goto done;       \
    KV_GO();                            \
  } while (0)
#define vmjump                          \
  do {                                  \
    if (--budget == 0) goto done;       \
    KV_CHECK_AND_GO();                  \
  } while (0)
#define vmstop goto done

  KV_CHECK_AND_GO();

op_literal:
  pushLiteral(m, r, code[r.pc - 1]);
  vmbreak;

#include "vm/hot_ops.inc"

op_skip:
  vmbreak;

op_other: {
  const uint32_t word = code[r.pc - 1];
  GroupHandler handler = handlerFor(m, word);
  r.store(m);
  if (!handler) raiseUndefinedInstruction(word);
  handler(m, word);
  r = Registers::load(m);  // the group may have changed the stacks, pc or data memory
  if (m.endRequested | m.frameWait | m.drawnFrameWait) goto done;
  vmjump;
}

op_outside:
  --r.pc;  // the sentinel is not an instruction: pc stays just past the code
  faultOutsideCode(m, r);

#undef vmcase
#undef vmbreak
#undef vmjump
#undef vmstop
#undef KV_GO
#undef KV_CHECK_AND_GO

done:
  r.store(m);
}

}  // namespace kelvox::vm
