// Runs arbitrary code words and data memory on a MachineContext for a bounded number of
// instructions. Any fault must surface as an AppError; nothing may touch memory outside the
// machine's arrays.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/clock.h"
#include "platform/headless/headless_dialogs.h"
#include "platform/headless/headless_window.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/volumes.h"
#include "shell/fatal_error.h"
#include "vm/dispatch.h"
#include "vm/machine_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace kelvox;
  if (size < 2) return 0;
  // The first byte says how many code words come first; the rest is data memory.
  size_t codeWords = std::min<size_t>(bytes[0], (size - 1) / 4);
  platform::VirtualClock clock;
  platform::HeadlessDialogs dialogs;
  platform::HeadlessWindow window;
  platform::FixedVolumes volumes;
  platform::Paths paths{"/nonexistent"};
  platform::Platform p{clock, dialogs, window, volumes, paths};
  vm::MachineContext m{p};
  m.paramStack.create(vm::kStackCapacity);
  m.returnStack.create(vm::kStackCapacity);
  m.code.assign(codeWords, 0);
  if (codeWords) std::memcpy(m.code.data(), bytes + 1, codeWords * 4);
  size_t dataBytes = size - 1 - codeWords * 4;
  m.data.assign((dataBytes + 3) & ~size_t{3}, 0);
  if (dataBytes) std::memcpy(m.data.data(), bytes + 1 + codeWords * 4, dataBytes);
  m.dataSize = static_cast<int32_t>(dataBytes);
  m.instructionsPerTick = 500;
  for (int slice = 0; slice < 20 && !m.endRequested; ++slice) {
    m.frameWait = m.drawnFrameWait = 0;
    try {
      vm::runSlice(m);
    } catch (const shell::AppError&) {
    }
  }
  return 0;
}
