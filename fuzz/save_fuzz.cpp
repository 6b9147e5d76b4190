// The save files' readers on arbitrary bytes: LoadState's check and restore, LoadStacks',
// Save\Sys parsing or the BMP reader. Built once per reader (KELVOX_SAVE_READER 0..3), so that
// each gets a run of its own; built without it, the first byte picks the reader. A refused
// file (an error raised) is fine; reading or writing outside a buffer, or a hang, is not.
#include <cstddef>
#include <cstdint>

#include "common/fatal_error.h"
#include "platform/headless/headless_platform.h"
#include "platform/surfaces/bmp_file.h"
#include "save/stack_file.h"
#include "save/state_file.h"
#include "vm/machine_context.h"
#include "vm/system_file.h"

using namespace kelvox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
#ifdef KELVOX_SAVE_READER
  const int reader = KELVOX_SAVE_READER;
  std::span<const uint8_t> file(data, size);
#else
  if (size == 0) return 0;
  const int reader = data[0] % 4;
  std::span<const uint8_t> file(data + 1, size - 1);
#endif
  static platform::HeadlessPlatform platform("/nonexistent");
  static vm::MachineContext* m = [] {
    auto* machine = new vm::MachineContext(platform.platform());
    machine->dataSize = 16;
    machine->data.assign(16, 0);
    machine->code.assign(64, 0);  // a restored pc must lie inside the code
    machine->paramStack.create(vm::kStackCapacity);
    machine->returnStack.create(vm::kStackCapacity);
    return machine;
  }();
  try {
    switch (reader) {
      case 0: save::applyState(*m, file); break;
      case 1: save::applyStacks(*m, file); break;
      case 2: {
        uint8_t mode = 1;
        vm::SystemList list;
        // Files read at start go into an empty list; odd sizes take the merge into a list
        // that holds entries already.
        if (file.size() % 2) list.add(":flag");
        vm::decodeSystemFile(file, mode, list);
        break;
      }
      case 3: platform::decodeBmp(file); break;
    }
  } catch (const common::AppError&) {
  }
  return 0;
}
