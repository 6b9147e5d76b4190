// The save files' readers on arbitrary bytes: the first byte picks LoadState's check and
// restore, LoadStacks', Save\Sys parsing or the BMP reader, the rest is the file. A refused
// file (an error raised) is fine; reading or writing outside a buffer, or a hang, is not.
#include <cstddef>
#include <cstdint>

#include "common/fatal_error.h"
#include "platform/bmp_file.h"
#include "platform/headless/headless_platform.h"
#include "save/stack_file.h"
#include "save/state_file.h"
#include "vm/machine_context.h"
#include "vm/system_file.h"

using namespace kelvox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static platform::HeadlessPlatform platform("/nonexistent");
  static vm::MachineContext* m = [] {
    auto* machine = new vm::MachineContext(platform.platform());
    machine->dataSize = 16;
    machine->data.assign(16, 0);
    machine->paramStack.create(vm::kStackCapacity);
    machine->returnStack.create(vm::kStackCapacity);
    return machine;
  }();
  std::span<const uint8_t> file(data + 1, size - 1);
  try {
    switch (data[0] % 4) {
      case 0: save::applyState(*m, file); break;
      case 1: save::applyStacks(*m, file); break;
      case 2: {
        uint8_t mode = 1;
        vm::SystemList list;
        vm::decodeSystemFile(file, mode, list);
        break;
      }
      case 3: platform::decodeBmp(file); break;
    }
  } catch (const common::AppError&) {
  }
  return 0;
}
