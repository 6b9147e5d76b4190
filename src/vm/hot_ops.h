// The core group 0x8000 and the arithmetic group 0x8001 run inline in the slice loop. Their
// words map to a dense key: 0 for a literal, 1 + op for core operations 0..31, 33 + op for
// arithmetic operations 0..31, 65 for any other word. The keys are computed once per script
// (codeKeys), so dispatch is one byte load and one indirect jump. The operation bodies live
// once, in hot_ops.inc, and are expanded twice: as the cases of a switch (the group handlers
// that step() calls) and as the labels of the slice loop's jump table (GCC's labels as
// values), chosen by the macros vmcase, vmbreak, vmjump and vmstop.
#pragma once

#include <cstdint>

#include "vm/instruction_set.h"
#include "vm/registers.h"

namespace kelvox::vm {

inline constexpr uint32_t kKeyLiteral = 0;
inline constexpr uint32_t kKeyCore = 1;  // + operation number 0..31; arithmetic follows at 33
inline constexpr uint32_t kKeyOther = 65;
// One key past the last code word: falling off the end of the code, which lets the slice loop
// fetch the next key after a straight-line operation without checking pc.
inline constexpr uint32_t kKeyOutside = 66;
inline constexpr uint32_t kKeyCount = 67;

KELVOX_ALWAYS_INLINE constexpr uint32_t hotKey(uint32_t word) {
  if (!(word & 0x80000000u)) return kKeyLiteral;
  // Groups 0x8000 and 0x8001 with an operation number below 32.
  if ((word & 0xFFFEFFE0u) == 0x80000000u) return kKeyCore + (((word >> 11) & 0x20u) | (word & 0x1Fu));
  return kKeyOther;
}

constexpr uint32_t keyOf(Op op) { return hotKey(static_cast<uint32_t>(op)); }

// An operation checks once that its [n] operands are there; its pops are then plain reads.
// The top value is r.tos (see Registers); a pop takes it and brings the next one up (from the
// scratch slot when the stack becomes empty), a push spills it below the new top.
#define KV_NEED(n) \
  if (r.count < (n)) [[unlikely]] faultStackEmpty(m, r)
#define KV_SECOND() (r.items[r.count - 2])

KELVOX_ALWAYS_INLINE int32_t popTop(Registers& r) {
  int32_t v = r.tos;
  r.tos = r.items[r.count - 2];
  --r.count;
  return v;
}
KELVOX_ALWAYS_INLINE void pushTop(Registers& r, int32_t v) {
  r.items[r.count - 1] = r.tos;
  r.tos = v;
  ++r.count;
}
#define KV_POP() popTop(r)
#define KV_PUSH(v) pushTop(r, (v))

KELVOX_ALWAYS_INLINE int64_t byteOffset(int32_t word, int32_t byte) { return int64_t{word} * 4 + byte; }

}  // namespace kelvox::vm
