// The cold fault paths of the inlined operations.
#include "vm/registers.h"

#include "shell/fatal_error.h"

namespace kelvox::vm {

void raiseStackEmpty() { shell::raiseFatalUtf8(67, "スクリプトの不正でスタックが空になりました"); }

void raiseOutsideCode(MachineContext& m) {
  // A script that ran off its end has nothing sensible to do next: after the message the
  // game closes, as after End.
  m.endRequested = 1;
  shell::raiseFatalUtf8(shell::kCodeOutsideCode, "コードの範囲外を実行しようとしました");
}

void raiseDivision(bool overflow) {
  if (overflow) shell::raiseFatalUtf8(shell::kCodeDivideOverflow, "除算の結果が範囲を超えました");
  shell::raiseFatalUtf8(shell::kCodeDivideByZero, "ゼロで除算しようとしました");
}

void pushAllRaising(MachineContext& m, const int32_t* values, int n) {
  for (int i = 0; i < n; ++i) m.paramStack.push(values[i]);
  // Not reached when the caller's check was right; the registers are stale now, so this
  // must not return normally either way.
  shell::raiseFatalUtf8(66, "スクリプトの不正でスタックが満杯になりました");
}

}  // namespace kelvox::vm
