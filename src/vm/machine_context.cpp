// Start-up and shut-down of the script machine, and loading of the script image.
#include "vm/machine_context.h"

#include <new>
#include <string>

#include "common/fatal_error.h"
#include "common/file_errors.h"
#include "common/file_helpers.h"
#include "platform/platform.h"
#include "vm/dispatch.h"
#include "vm/engine_config.h"
#include "vm/random.h"
#include "vm/system_file.h"

namespace kelvox::vm {

MachineContext::MachineContext(platform::Platform& p)
    : platform(p), effectStepCounts{64, 64, 48, 48, 64, 64, 32, 64, 64, 16, 64, 64}, groups(machineGroups()) {}

MachineContext::~MachineContext() = default;

int MachineContext::effectSteps(int index) const {
  if (index < 0 || index >= static_cast<int>(effectStepCounts.size())) return 0;
  return effectStepCounts[index];
}

namespace {

// Script files are indexed by 32-bit counts; anything larger is not a script.
constexpr uint64_t kMaxScriptBytes = 0x7FFFFFF0;

// The bytes of a script file; a missing, unreadable, non-regular (a FIFO, a folder) or empty
// file is a file error naming it.
std::vector<uint8_t> readScriptFile(MachineContext& m, const char* name) {
  auto bytes = common::readAppFile(m.platform.paths, name, kMaxScriptBytes);
  if (bytes.empty()) common::raiseFileError(common::FileError::EmptyScript, name);
  return bytes;
}

size_t roundUp4(size_t n) { return (n + 3) & ~size_t{3}; }

// [part]'s [step] (start or stop) as a step of the machine's start-up or teardown; memory
// running out there is [fault]. A build without the part skips the step.
void partStep(MachineContext& m, MachinePart* part, void (MachinePart::*step)(MachineContext&), common::Fault fault) {
  if (part == nullptr) return;
  try {
    (part->*step)(m);
  } catch (const std::bad_alloc&) {
    common::raiseFatal(fault);
  }
}

}  // namespace

void loadScriptImage(MachineContext& m) {
  auto codeBytes = readScriptFile(m, "Script\\Code.ssb");
  // The bytes past the file's end are zeroed: the last word of a file whose size is not a
  // multiple of 4 reads as if padded.
  m.code.assign(roundUp4(codeBytes.size()) / 4, 0);
  for (size_t i = 0; i < codeBytes.size(); ++i) m.code[i / 4] |= uint32_t{codeBytes[i]} << (8 * (i % 4));
  decodeCode(m);

  auto dataBytes = readScriptFile(m, "Script\\Data.ssb");
  m.dataSize = static_cast<int32_t>(dataBytes.size());
  common::scrambleBuffer(dataBytes);
  m.data.assign(roundUp4(dataBytes.size()), 0);
  std::copy(dataBytes.begin(), dataBytes.end(), m.data.begin());
}

void initMachine(MachineContext& m, InputState* input, graphics::TDisplay* display, sound::MidiPlayer* midi,
                sound::WavPlayer* wav) {
  m.data.clear();
  m.code.clear();
  resetRunState(m);  // pc 0, no aux table, no thumbnail, every flag at its start (run_state.h)
  loadScriptImage(m);
  m.frameDeadline = m.platform.clock.now();
  m.input = input;
  m.display = display;
  m.midi = midi;
  m.wav = wav;

  if (m.paramStack.create(kStackCapacity) != 0) common::raiseFatal(common::Fault::ParamStackMemory);
  if (m.returnStack.create(kStackCapacity) != 0) common::raiseFatal(common::Fault::ReturnStackMemory);

  m.sprites.fill({});
  m.patterns.fill({});
  if (m.parts.pictures) m.parts.pictures->start(m);

  // The 1024 text windows, in index order.
  partStep(m, m.parts.textWindows.get(), &MachinePart::start, common::Fault::TextWindowCreate);

  seedRandom(m.randomState, static_cast<uint32_t>(m.platform.clock.wallSeconds()));

  // The CD audio object: it scans the mixers and starts listening for window messages.
  partStep(m, m.parts.cdAudio.get(), &MachinePart::start, common::Fault::CdStart);

  m.systemList.clear();
  // What killed saves left in Save\ goes first (only the engine's own temporaries).
  common::removeStaleTemporaries(m.platform.paths, "Save");
  readSystemFile(m);
  // Ready only once read: a start that fails while reading (no memory) must not have teardown
  // replace the file with an empty list.
  m.systemListReady = true;
  readEngineConfig(m);
}

void teardownMachine(MachineContext& m) {
  // A machine that never got as far as its system list has nothing to write, and must not
  // replace a good Save\Sys with an empty one.
  if (m.saveSystemAtExit && m.systemListReady) {
    if (m.systemFileUnreadable) {
      // The file that could not be read holds flags and seen pictures that an empty list would
      // wipe out; it stays as it is (the player was told at start).
      m.systemFileLost = true;
    } else {
      try {
        writeSystemFile(m);
      } catch (const common::AppError& e) {
        m.systemFileLost = true;
        if (m.report) m.report(e);  // reported at once; teardown goes on
      }
    }
  }

  partStep(m, m.parts.textWindows.get(), &MachinePart::stop, common::Fault::TextWindowRelease);
  if (m.parts.pictures) m.parts.pictures->stop(m);  // sprites, then patterns

  // Letting go of a stack's storage cannot fail: faults 14 and 13 never arise here.
  m.returnStack.release();
  m.paramStack.release();

  m.auxTable.reset();
  m.data.clear();
  m.data.shrink_to_fit();
  m.code.clear();
  m.code.shrink_to_fit();
  m.codeKeys.clear();
  m.codeKeys.shrink_to_fit();
  // The CD stops and closes, and the mixers get their start-up levels back.
  if (m.parts.cdAudio) m.parts.cdAudio->stop(m);
  m.effectSurface1.reset();
  m.effectSurface2.reset();
  m.thumbnail.reset();
  m.systemListReady = false;
}

}  // namespace kelvox::vm
