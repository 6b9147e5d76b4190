// The script machine's one state record. The engine host creates exactly one, hands it the
// subsystem objects it already made, and every instruction group works on it. Field names are
// the ones scripts' documentation uses throughout.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/fatal_error.h"
#include "platform/surfaces/bitmap.h"
#include "platform/surfaces/surface.h"
#include "vm/groups.h"
#include "vm/machine_part.h"
#include "vm/object_handle.h"
#include "vm/run_state.h"
#include "vm/system_list.h"
#include "vm/value_stack.h"

namespace kelvox::platform {
struct Platform;
}
namespace kelvox::common {
class ListenerRegistry;
}
namespace kelvox::graphics {
class TDisplay;
}
namespace kelvox::text {
class TextHook;
}
namespace kelvox::sound {
class MidiPlayer;
class WavPlayer;
}  // namespace kelvox::sound

namespace kelvox::vm {

class InputState;

inline constexpr int kStackCapacity = 1024;
inline constexpr int kSpriteCount = 1024;
inline constexpr int kPatternCount = 1024;
inline constexpr int kTextWindowCount = 1024;

// The machine: the run's state (run_state.h, reset as a whole at every start) and what lasts
// across runs or is wired in by the host.
struct MachineContext : RunState {
  explicit MachineContext(platform::Platform& platform);
  // A machine destroyed without its teardown (a start-up that failed half-way) still lets go
  // of what its parts made: they own it.
  ~MachineContext();
  MachineContext(const MachineContext&) = delete;
  MachineContext& operator=(const MachineContext&) = delete;

  platform::Platform& platform;  // the services the groups reach the host through

  ValueStack paramStack;   // "PS": operands and results of every instruction
  ValueStack returnStack;  // "RS": return addresses of calls
  InputState* input = nullptr;              // borrowed from the host
  sound::MidiPlayer* midi = nullptr;        // borrowed
  graphics::TDisplay* display = nullptr;    // borrowed
  // The sprites and patterns by number, as handles into the display's stores (which own them;
  // a handle whose object was destroyed finds nothing). Emptied through parts.pictures.
  std::array<ObjectHandle, kSpriteCount> sprites{};
  std::array<ObjectHandle, kPatternCount> patterns{};
  sound::WavPlayer* wav = nullptr;          // borrowed

  int32_t dataSize = 0;  // exact size of Script\Data.ssb
  // The pictures before and after a transition, made in state 3 and released by EndEffect.
  std::unique_ptr<platform::Surface> effectSurface1, effectSurface2;
  SystemList systemList;
  bool systemListReady = false;  // the list was set up (and Save\Sys read) by initMachine
  bool systemFileUnreadable = false;  // Save\Sys exists but could not be read: never replaced
  bool systemFileLost = false;  // teardown wanted to write Save\Sys and did not
  std::vector<int32_t> effectStepCounts;  // steps of transition effect 0..11
  std::string searchPath;                 // Shift-JIS prefix of Grd\, Midi\, Wav\ names
  std::string fontName;  // Shift-JIS face name for text windows
  std::vector<uint8_t> data;   // data memory, size rounded up to 4 bytes
  std::vector<uint32_t> code;  // code words
  std::vector<uint8_t> codeKeys;  // the slice loop's dispatch key of each code word (hot_ops.h)

  // What the host hands the machine besides the platform. Kept at the end of the record: in
  // front they push the stacks, code and data past the short offsets the slice loop's loads
  // use, which costs that loop about 15 % (kelvox-bench VmSlice).
  GroupTable groups;  // machineGroups(), then the subsystems' groups from the shell
  common::ListenerRegistry* listeners = nullptr;  // the host's, set before initMachine (CD notices)
  common::ErrorReport report;  // the host's: what the player must see while the work goes on
  // The subsystems' shares of start-up and teardown, from the shell before initMachine: the
  // text windows, the CD audio object and the pictures live in them (machine_part.h).
  MachineParts parts;
  text::TextHook* textHook = nullptr;  // the host's: what TextDraw showed, for platform.textSink

  // The steps of transition effect [index]; 0 outside 0..11.
  int effectSteps(int index) const;
};

// Loads the script image, creates the stacks, reads Save\Sys and Kelvox.ini; raises
// FatalError (or a file error naming the script file) on failure.
void initMachine(MachineContext& m, InputState* input, graphics::TDisplay* display, sound::MidiPlayer* midi,
                sound::WavPlayer* wav);
// Writes Save\Sys (when wanted) and releases everything the machine owns; safe on a partly
// initialised machine. A Save\Sys that cannot be written goes to the machine's report and the
// teardown goes on. Raises FatalError on failure.
void teardownMachine(MachineContext& m);
// Reads Script\Code.ssb and the scrambled Script\Data.ssb into code and data.
void loadScriptImage(MachineContext& m);
inline int isEndRequested(const MachineContext& m) { return m.endRequested; }

}  // namespace kelvox::vm
