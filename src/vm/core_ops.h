// The core group 0x8000: data memory, stack shuffling, jumps, calls, End and the frame waits.
// The bodies work on Registers and are inlined both into the slice loop and into the group
// handler that step() uses, so there is one definition of each operation.
#pragma once

#include "vm/instruction_set.h"
#include "vm/registers.h"

namespace kelvox::vm {

// An operation checks once that its [n] operands are there; its pops are then plain reads.
#define KV_NEED(n) \
  if (r.count < (n)) [[unlikely]] faultStackEmpty(m, r)
#define KV_POP() (r.items[--r.count])
#define KV_PUSH(v) (r.items[r.count++] = (v))

KELVOX_ALWAYS_INLINE int64_t byteOffset(int32_t word, int32_t byte) { return int64_t{word} * 4 + byte; }

KELVOX_ALWAYS_INLINE Flow execCore(MachineContext& m, Registers& r, uint32_t word) {
  switch (static_cast<Op>(word)) {
    case Op::LoadWord: {
      KV_NEED(1);
      int64_t at = byteOffset(KV_POP(), 0);
      if (at < 0 || at + 4 > r.dataBytes) [[unlikely]] faultOutsideData(m, r);
      const uint8_t* p = r.data + at;
      KV_PUSH(static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24));
      return Flow::Next;
    }
    case Op::StoreWord: {
      KV_NEED(2);
      int64_t at = byteOffset(KV_POP(), 0);
      uint32_t v = static_cast<uint32_t>(KV_POP());
      if (at < 0 || at + 4 > r.dataBytes) [[unlikely]] faultOutsideData(m, r);
      uint8_t* p = r.data + at;
      p[0] = static_cast<uint8_t>(v);
      p[1] = static_cast<uint8_t>(v >> 8);
      p[2] = static_cast<uint8_t>(v >> 16);
      p[3] = static_cast<uint8_t>(v >> 24);
      return Flow::Next;
    }
    case Op::LoadByte: {
      KV_NEED(2);
      int32_t j = KV_POP();
      int64_t at = byteOffset(KV_POP(), j);
      if (at < 0 || at >= r.dataBytes) [[unlikely]] faultOutsideData(m, r);
      KV_PUSH(r.data[at]);
      return Flow::Next;
    }
    case Op::StoreByte: {
      KV_NEED(3);
      int32_t j = KV_POP();
      int64_t at = byteOffset(KV_POP(), j);
      int32_t v = KV_POP();
      if (at < 0 || at >= r.dataBytes) [[unlikely]] faultOutsideData(m, r);
      r.data[at] = static_cast<uint8_t>(v);
      return Flow::Next;
    }
    case Op::Dup: {
      KV_NEED(1);
      int32_t a = r.items[r.count - 1];
      if (r.count + 1 > r.last) [[unlikely]] {
        int32_t again[] = {a, a};
        --r.count;
        faultPushAll(m, r, again, 2);
      }
      KV_PUSH(a);
      return Flow::Next;
    }
    case Op::Over: {
      KV_NEED(2);
      int32_t b = r.items[r.count - 2];
      if (r.count + 1 > r.last) [[unlikely]] {
        int32_t a = r.items[r.count - 1];
        int32_t again[] = {b, a, b};
        r.count -= 2;
        faultPushAll(m, r, again, 3);
      }
      KV_PUSH(b);
      return Flow::Next;
    }
    case Op::Drop:
      KV_NEED(1);
      --r.count;
      return Flow::Next;
    case Op::Return:
      if (m.returnStack.getCount() == 0) [[unlikely]] r.store(m);  // the pop below raises 67
      r.pc = static_cast<uint32_t>(m.returnStack.pop());
      return Flow::Next;
    case Op::End:
      m.endRequested = 1;
      return Flow::Stop;
    case Op::WaitFrame:
      m.frameWait = 1;
      return Flow::Stop;
    case Op::Jump:
      KV_NEED(1);
      r.pc = static_cast<uint32_t>(KV_POP());
      return Flow::Next;
    case Op::JumpRelative:
      KV_NEED(1);
      r.pc += static_cast<uint32_t>(KV_POP());
      return Flow::Next;
    case Op::Call:
    case Op::CallRelative: {
      // The return address goes on first, so a Call without a target still leaves it there.
      if (m.returnStack.getCount() + 1 > m.returnStack.getCapacity() - 1) r.store(m);
      m.returnStack.push(static_cast<int32_t>(r.pc));
      KV_NEED(1);
      uint32_t t = static_cast<uint32_t>(KV_POP());
      r.pc = static_cast<Op>(word) == Op::Call ? t : r.pc + t;
      return Flow::Next;
    }
    case Op::JumpIf:
    case Op::JumpRelativeIf:
    case Op::JumpIfNot:
    case Op::JumpRelativeIfNot: {
      KV_NEED(2);
      uint32_t t = static_cast<uint32_t>(KV_POP());
      bool c = KV_POP() != 0;
      bool wanted = static_cast<Op>(word) == Op::JumpIf || static_cast<Op>(word) == Op::JumpRelativeIf;
      bool relative = static_cast<Op>(word) == Op::JumpRelativeIf || static_cast<Op>(word) == Op::JumpRelativeIfNot;
      if (c == wanted) r.pc = relative ? r.pc + t : t;
      return Flow::Next;
    }
    case Op::Swap: {
      KV_NEED(2);
      int32_t a = r.items[r.count - 1];
      r.items[r.count - 1] = r.items[r.count - 2];
      r.items[r.count - 2] = a;
      return Flow::Next;
    }
    case Op::WaitDrawnFrame:
      m.drawnFrameWait = 1;
      m.skippedFrames = 0;
      return Flow::Stop;
    case Op::DropReturns: {
      KV_NEED(1);
      uint32_t n = static_cast<uint32_t>(KV_POP());
      int held = m.returnStack.getCount();
      if (n > static_cast<uint32_t>(held)) {
        // Drops what there is, then the pop of an empty stack fails.
        r.store(m);
        m.returnStack.setCount(0);
        m.returnStack.pop();
      }
      m.returnStack.setCount(held - static_cast<int>(n));
      return Flow::Next;
    }
    default:
      return Flow::Skip;
  }
}

}  // namespace kelvox::vm
