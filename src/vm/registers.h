// The machine's hot state held in locals while a slice runs: paramStack's storage and count,
// pc, and data memory. The core and arithmetic operations work on these so the compiler can
// keep them in registers; everything else sees MachineContext, so the registers are stored
// back before any other group runs and before any fault is raised.
#pragma once

#include <cstdint>

#include "vm/data_memory.h"
#include "vm/machine_context.h"

#if defined(__GNUC__)
#define KELVOX_ALWAYS_INLINE __attribute__((always_inline)) inline
#define KELVOX_COLD __attribute__((cold, noinline))
#else
#define KELVOX_ALWAYS_INLINE inline
#define KELVOX_COLD
#endif

namespace kelvox::vm {

// The top of paramStack lives in [tos] while count > 0; items[count - 1] is then stale until
// store() writes it back. Everything below the top is in memory.
struct Registers {
  int32_t* items;  // paramStack storage (items[-1] is a scratch slot)
  int count;       // paramStack count
  int last;        // capacity - 1: the most values the stack holds
  int32_t tos;     // the top value when count > 0
  uint32_t pc;
  uint8_t* data;
  int64_t dataBytes;

  static Registers load(MachineContext& m) {
    Registers r{m.paramStack.getItems(), m.paramStack.getCount(), m.paramStack.getCapacity() - 1, 0,
                static_cast<uint32_t>(m.pc), m.data.data(), static_cast<int64_t>(m.data.size())};
    if (r.count > 0) r.tos = r.items[r.count - 1];
    return r;
  }
  void store(MachineContext& m) const {
    if (count > 0) items[count - 1] = tos;
    m.paramStack.restoreCount(count);
    m.pc = static_cast<int32_t>(pc);
  }
};

// What an inlined operation asks of the loop that runs it.
enum class Flow {
  Next,   // go on with the next word
  Stop,   // a wait or End was set: the slice ends after this instruction
  Skip,   // a word of the group that no operation uses: nothing happened
};

// Faults raised from the registers; each stores them first so the machine shows the state
// the failed instruction left: its operands popped so far are consumed. The registers are
// passed by value so their address never escapes the slice loop, which keeps them in
// machine registers there.
[[noreturn]] KELVOX_COLD void raiseStackEmpty();
[[noreturn]] KELVOX_COLD void raiseOutsideCode(MachineContext& m);
[[noreturn]] KELVOX_COLD void raiseDivision(bool overflow);
// Pushes [values] one by one through paramStack itself, whose push raises 66 on the push
// that fills it; used only when the registers show that the stack will overflow.
[[noreturn]] KELVOX_COLD void pushAllRaising(MachineContext& m, const int32_t* values, int n);

[[noreturn]] KELVOX_ALWAYS_INLINE void faultStackEmpty(MachineContext& m, Registers r) {
  r.count = 0;  // every value the instruction could pop is gone before the failing pop
  r.store(m);
  raiseStackEmpty();
}
[[noreturn]] KELVOX_ALWAYS_INLINE void faultOutsideData(MachineContext& m, Registers r) {
  r.store(m);
  raiseOutsideData();
}
[[noreturn]] KELVOX_ALWAYS_INLINE void faultOutsideCode(MachineContext& m, Registers r) {
  r.store(m);
  raiseOutsideCode(m);
}
[[noreturn]] KELVOX_ALWAYS_INLINE void faultDivision(MachineContext& m, Registers r, bool overflow) {
  r.store(m);
  raiseDivision(overflow);
}
[[noreturn]] KELVOX_ALWAYS_INLINE void faultPushAll(MachineContext& m, Registers r, const int32_t* values, int n) {
  r.store(m);
  pushAllRaising(m, values, n);
}

}  // namespace kelvox::vm
