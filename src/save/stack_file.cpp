// Writing and checking-then-restoring stack files; the layout is in stack_file.h.
#include "save/stack_file.h"

#include "common/fatal_error.h"
#include "save/le_words.h"
#include "vm/machine_context.h"

namespace kelvox::save {

std::vector<uint8_t> encodeStacks(const vm::MachineContext& m, std::span<const uint8_t> old) {
  std::vector<uint8_t> out;
  const int p = m.paramStack.getCount(), r = m.returnStack.getCount();
  putWord(out, static_cast<uint32_t>(p));
  for (int i = 0; i < p; ++i) putWord(out, static_cast<uint32_t>(m.paramStack.getItems()[i]));
  putWord(out, static_cast<uint32_t>(r));
  for (int i = 0; i < r; ++i) putWord(out, static_cast<uint32_t>(m.returnStack.getItems()[i]));
  putWord(out, static_cast<uint32_t>(m.pc));
  if (old.size() > out.size()) out.insert(out.end(), old.begin() + static_cast<ptrdiff_t>(out.size()), old.end());
  return out;
}

void applyStacks(vm::MachineContext& m, std::span<const uint8_t> bytes) {
  const std::vector<uint8_t> b(bytes.begin(), bytes.end());
  const auto capacity = static_cast<uint32_t>(vm::kStackCapacity);
  if (b.size() < 4) common::raiseFatal(common::Fault::StackFileDamaged);
  const uint32_t p = wordAt(b, 0);
  if (p > capacity) common::raiseFatal(common::Fault::StackFileRead);
  const size_t rAt = 4 + 4 * size_t{p};
  if (b.size() < rAt + 4) common::raiseFatal(common::Fault::StackFileDamaged);
  const uint32_t r = wordAt(b, rAt);
  if (r > capacity) common::raiseFatal(common::Fault::StackFileDamaged);
  const size_t pcAt = rAt + 4 + 4 * size_t{r};
  if (b.size() < pcAt + 4) common::raiseFatal(common::Fault::StackFileDamaged);
  // A pc outside the code would end the game at the next tick (7); the file is refused instead.
  if (wordAt(b, pcAt) >= m.code.size()) common::raiseFatal(common::Fault::StackFileDamaged);

  for (uint32_t i = 0; i < p; ++i) m.paramStack.getItems()[i] = static_cast<int32_t>(wordAt(b, 4 + 4 * size_t{i}));
  for (uint32_t i = 0; i < r; ++i) m.returnStack.getItems()[i] = static_cast<int32_t>(wordAt(b, rAt + 4 + 4 * size_t{i}));
  // A count equal to the capacity stays so; the next push raises 66 without storing.
  m.paramStack.restoreCount(static_cast<int>(p));
  m.returnStack.restoreCount(static_cast<int>(r));
  m.pc = static_cast<int32_t>(wordAt(b, pcAt));
}

}  // namespace kelvox::save
