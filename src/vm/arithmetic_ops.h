// The arithmetic group 0x8001: 32-bit integer arithmetic, logic, comparisons and shifts.
// Binary operations pop t (the top) and then s and push s OP t; results wrap modulo 2^32;
// comparisons push exactly 1 or 0; shift counts use their low 5 bits. Division by zero and
// -2147483648 ÷ -1 raise a fault with both operands consumed and nothing pushed.
#pragma once

#include "vm/core_ops.h"

namespace kelvox::vm {

KELVOX_ALWAYS_INLINE Flow execArithmetic(MachineContext& m, Registers& r, uint32_t word) {
  const Op op = static_cast<Op>(word);
  if (op == Op::Not || op == Op::Neg) {
    KV_NEED(1);
    uint32_t a = static_cast<uint32_t>(r.items[r.count - 1]);
    r.items[r.count - 1] = static_cast<int32_t>(op == Op::Not ? ~a : 0u - a);
    return Flow::Next;
  }
  if ((word & 0xFFFFu) > 0x19u) return Flow::Skip;
  KV_NEED(2);
  const uint32_t t = static_cast<uint32_t>(r.items[r.count - 1]);
  const uint32_t s = static_cast<uint32_t>(r.items[r.count - 2]);
  const int32_t ts = static_cast<int32_t>(t), ss = static_cast<int32_t>(s);
  uint32_t result;
  switch (op) {
    case Op::Add: result = s + t; break;
    case Op::Sub: result = s - t; break;
    case Op::MulU:
    case Op::MulS: result = s * t; break;
    case Op::DivU:
    case Op::ModU:
      if (t == 0) [[unlikely]] {
        r.count -= 2;
        faultDivision(m, r, false);
      }
      result = op == Op::DivU ? s / t : s % t;
      break;
    case Op::DivS:
    case Op::ModS:
      if (t == 0 || (ts == -1 && ss == INT32_MIN)) [[unlikely]] {
        r.count -= 2;
        faultDivision(m, r, t != 0);
      }
      result = static_cast<uint32_t>(op == Op::DivS ? ss / ts : ss % ts);
      break;
    case Op::Or: result = s | t; break;
    case Op::And: result = s & t; break;
    case Op::Xor: result = s ^ t; break;
    case Op::Eq: result = s == t; break;
    case Op::Ne: result = s != t; break;
    case Op::LtU: result = s < t; break;
    case Op::LeU: result = s <= t; break;
    case Op::GtU: result = s > t; break;
    case Op::GeU: result = s >= t; break;
    case Op::LtS: result = ss < ts; break;
    case Op::LeS: result = ss <= ts; break;
    case Op::GtS: result = ss > ts; break;
    case Op::GeS: result = ss >= ts; break;
    case Op::ShrU: result = s >> (t & 31); break;
    case Op::Shl: result = s << (t & 31); break;
    case Op::ShrS: result = static_cast<uint32_t>(ss >> (t & 31)); break;
    default: return Flow::Skip;  // Not and Neg were handled above
  }
  r.items[r.count - 2] = static_cast<int32_t>(result);
  --r.count;
  return Flow::Next;
}

}  // namespace kelvox::vm
