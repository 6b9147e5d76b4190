// A subsystem's share of the machine's start-up and teardown, the one lifetime interface the
// shell installs for every subsystem that keeps objects for the machine: the text windows, the
// CD audio object, the pictures (sprites and patterns). The machine owns the parts and calls
// them at fixed steps of initMachine and teardownMachine, so it never names a subsystem's type.
//
// One convention: start and stop return nothing and raise on failure. The machine turns memory
// running out in a part into the fault of that step (18 for the text windows, 100 for the CD
// object); a part raises any other failure as its own FatalError.
#pragma once

#include <memory>

namespace kelvox::vm {

struct MachineContext;

class MachinePart {
 public:
  virtual ~MachinePart() = default;
  // Makes what the subsystem keeps for [m]. What a failed start made stays owned by the part
  // (its destructor or stop lets go of it).
  virtual void start(MachineContext& m) = 0;
  // Lets go of everything start made. Safe when start never ran or failed half-way, and twice.
  virtual void stop(MachineContext& m) = 0;
};

// The parts of a run, set by the shell before initMachine. An empty slot is a subsystem this
// build lacks: its steps do nothing.
struct MachineParts {
  std::unique_ptr<MachinePart> textWindows;  // the 1024 text windows
  std::unique_ptr<MachinePart> pictures;     // the sprites and patterns the machine's tables name
  std::unique_ptr<MachinePart> cdAudio;      // the CD audio object (it listens for window messages)
};

}  // namespace kelvox::vm
