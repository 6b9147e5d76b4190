// Writing and checking-then-restoring saved games; the layout is in state_file.h.
#include "save/state_file.h"

#include <algorithm>

#include "common/fatal_error.h"
#include "common/file_helpers.h"
#include "save/le_words.h"
#include "vm/machine_context.h"

namespace kelvox::save {

std::vector<uint8_t> encodeState(const vm::MachineContext& m) {
  const int r = m.returnStack.getCount(), p = m.paramStack.getCount();
  std::vector<uint8_t> out;
  out.reserve(16 + static_cast<size_t>(m.dataSize) + 4 * static_cast<size_t>(r + p));
  putWord(out, static_cast<uint32_t>(m.pc));
  putWord(out, static_cast<uint32_t>(m.dataSize));
  putWord(out, static_cast<uint32_t>(r));
  putWord(out, static_cast<uint32_t>(p));
  out.insert(out.end(), m.data.begin(), m.data.begin() + m.dataSize);
  for (int i = 0; i < r; ++i) putWord(out, static_cast<uint32_t>(m.returnStack.getItems()[i]));
  for (int i = 0; i < p; ++i) putWord(out, static_cast<uint32_t>(m.paramStack.getItems()[i]));
  common::scrambleBuffer(out);
  return out;
}

void applyState(vm::MachineContext& m, std::span<const uint8_t> bytes) {
  // The header first, unscrambled on its own: the rest is copied only once it is known to fit.
  if (bytes.size() < 16) common::raiseFatal(common::Fault::SaveFileDamaged);
  std::vector<uint8_t> plain(bytes.begin(), bytes.begin() + 16);
  common::scrambleBuffer(plain);
  const uint32_t pc = wordAt(plain, 0), d = wordAt(plain, 4), r = wordAt(plain, 8), p = wordAt(plain, 12);
  const auto capacity = static_cast<uint32_t>(vm::kStackCapacity);
  if (d != static_cast<uint32_t>(m.dataSize) || r > capacity || p > capacity ||
      bytes.size() != 16 + uint64_t{d} + 4 * (uint64_t{r} + p) || pc >= m.code.size())
    common::raiseFatal(common::Fault::SaveFileDamaged);
  plain.assign(bytes.begin(), bytes.end());
  common::scrambleBuffer(plain);

  m.pc = static_cast<int32_t>(pc);
  std::copy_n(plain.begin() + 16, d, m.data.begin());
  size_t at = 16 + d;
  for (uint32_t i = 0; i < r; ++i, at += 4) m.returnStack.getItems()[i] = static_cast<int32_t>(wordAt(plain, at));
  for (uint32_t i = 0; i < p; ++i, at += 4) m.paramStack.getItems()[i] = static_cast<int32_t>(wordAt(plain, at));
  // A full stack (count = capacity) is kept as it was saved; its next push raises 66
  // without storing.
  m.returnStack.restoreCount(static_cast<int>(r));
  m.paramStack.restoreCount(static_cast<int>(p));
  m.justRestored = 1;
}

}  // namespace kelvox::save
