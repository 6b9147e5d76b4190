// The cold fault paths of the inlined operations.
#include "vm/registers.h"

#include "common/fatal_error.h"

namespace kelvox::vm {

void raiseStackEmpty() { common::raiseFatal(common::Fault::StackEmpty); }

void raiseOutsideCode(MachineContext& m) {
  // A script that ran off its end has nothing sensible to do next: after the message the
  // game closes, as after End.
  m.endRequested = 1;
  common::raiseFatal(common::Fault::OutsideCode);
}

void raiseDivision(bool overflow) {
  common::raiseFatal(overflow ? common::Fault::DivideOverflow : common::Fault::DivideByZero);
}

void pushAllRaising(MachineContext& m, const int32_t* values, int n) {
  for (int i = 0; i < n; ++i) m.paramStack.push(values[i]);
  // Not reached when the caller's check was right; the registers are stale now, so this
  // must not return normally either way.
  common::raiseFatal(common::Fault::StackFull);
}

}  // namespace kelvox::vm
