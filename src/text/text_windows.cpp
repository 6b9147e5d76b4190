// Making and releasing the machine's text windows.
#include "text/text_windows.h"

#include "vm/machine_context.h"

namespace kelvox::text {

void TextWindows::start(vm::MachineContext&) {
  if (windows_.empty()) windows_.resize(vm::kTextWindowCount);
}

void TextWindows::stop(vm::MachineContext&) {
  windows_.clear();
  windows_.shrink_to_fit();
}

TextWindow* TextWindows::at(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= windows_.size()) return nullptr;
  return &windows_[static_cast<size_t>(index)];
}

TextWindow* windowAt(vm::MachineContext& m, int32_t index) {
  auto* windows = dynamic_cast<TextWindows*>(m.parts.textWindows.get());
  return windows ? windows->at(index) : nullptr;
}

}  // namespace kelvox::text
