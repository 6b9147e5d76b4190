// Runs arbitrary code words and data memory on two MachineContexts for a bounded number of
// instructions: one through the threaded slice loop, one instruction at a time through step()
// and the group handlers' switch. Any fault must surface as an AppError, nothing may touch
// memory outside the machine's arrays, and both machines must end in the same state.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "common/fatal_error.h"
#include "vm/dispatch.h"
#include "vm/machine_context.h"

namespace {

using namespace kelvox;

constexpr int kSlices = 20;
constexpr int kBudget = 500;

struct Machine {
  platform::HeadlessPlatform p{"/nonexistent"};
  vm::MachineContext m{p.platform()};
  std::string errors;  // every fault's text, in order

  Machine(const uint8_t* bytes, size_t size, size_t codeWords) {
    m.paramStack.create(vm::kStackCapacity);
    m.returnStack.create(vm::kStackCapacity);
    m.code.assign(codeWords, 0);
    if (codeWords) std::memcpy(m.code.data(), bytes, codeWords * 4);
    size_t dataBytes = size - codeWords * 4;
    m.data.assign((dataBytes + 3) & ~size_t{3}, 0);
    if (dataBytes) std::memcpy(m.data.data(), bytes + codeWords * 4, dataBytes);
    m.dataSize = static_cast<int32_t>(dataBytes);
    m.instructionsPerTick = kBudget;
  }

  template <typename Work>
  void guarded(Work&& work) {
    try {
      work();
    } catch (const common::AppError& e) {
      errors += e.displayText() + "\n";
    }
  }
};

// One slice the slow way: the same stopping rules as runSlice, one step() at a time.
void stepSlice(vm::MachineContext& m) {
  if (m.debugBoxOpen || m.frameWait || m.drawnFrameWait) return;
  for (int i = 0; i < m.instructionsPerTick; ++i) {
    vm::step(m);
    if (m.endRequested || m.frameWait || m.drawnFrameWait) return;
  }
}

bool sameStack(const vm::ValueStack& a, const vm::ValueStack& b) {
  return a.getCount() == b.getCount() &&
         std::memcmp(a.getItems(), b.getItems(), sizeof(int32_t) * std::min(a.getCount(), a.getCapacity())) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 2) return 0;
  // The first byte says how many code words come first; the rest is data memory.
  size_t codeWords = std::min<size_t>(bytes[0], (size - 1) / 4);
  auto fast = std::make_unique<Machine>(bytes + 1, size - 1, codeWords);
  auto slow = std::make_unique<Machine>(bytes + 1, size - 1, codeWords);
  for (int slice = 0; slice < kSlices && !fast->m.endRequested; ++slice) {
    fast->m.frameWait = fast->m.drawnFrameWait = 0;
    slow->m.frameWait = slow->m.drawnFrameWait = 0;
    fast->guarded([&] { vm::runSlice(fast->m); });
    slow->guarded([&] { stepSlice(slow->m); });
    bool same = fast->m.pc == slow->m.pc && fast->m.endRequested == slow->m.endRequested &&
                fast->m.frameWait == slow->m.frameWait && fast->m.drawnFrameWait == slow->m.drawnFrameWait &&
                sameStack(fast->m.paramStack, slow->m.paramStack) &&
                sameStack(fast->m.returnStack, slow->m.returnStack) && fast->m.data == slow->m.data &&
                fast->errors == slow->errors;
    if (!same) {
      std::fprintf(stderr, "slice %d: pc %d/%d end %d/%d ps %d/%d rs %d/%d errors [%s] / [%s]\n", slice, fast->m.pc,
                   slow->m.pc, fast->m.endRequested, slow->m.endRequested, fast->m.paramStack.getCount(),
                   slow->m.paramStack.getCount(), fast->m.returnStack.getCount(), slow->m.returnStack.getCount(),
                   fast->errors.c_str(), slow->errors.c_str());
      std::abort();
    }
  }
  return 0;
}
