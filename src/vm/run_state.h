// RunState: what one run of the script starts from and changes as it goes — where it is, the
// frame clock and its pauses, the cursor, the transition, the flags scripts set, the thumbnail.
// The values written here are the start of every run: initMachine resets the whole record to
// them at once (resetRunState), so no default is written twice. MachineContext is a RunState,
// so the groups name these fields as the machine's own.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/surfaces/bitmap.h"

namespace kelvox::vm {

// The frame loop's presentation states (transitionState). Group 0x800C walks a transition
// through them; the frame loop does one state's work per tick.
enum PresentationState : uint8_t {
  kPresentFrame = 0,    // compose the changed region and show it (or skip a late frame)
  kCaptureBefore = 1,   // compose into the backup buffer: the picture before the transition
  kHoldScreen = 2,      // show nothing new while the script sets the transition up
  kCaptureAfter = 3,    // compose into the work buffer: the picture after; make the effect surfaces
  kShowTransition = 4,  // show the back buffer as the transition's steps draw it
};

struct RunState {
  // The slice loop's: read at the start of every slice and after every group it calls.
  int32_t pc = 0;  // index in code of the next word
  int32_t instructionsPerTick = 100000;
  int32_t debugBoxOpen = 0;
  int32_t endRequested = 0;
  int32_t frameWait = 0;       // no more instructions until the next tick's frame work
  int32_t drawnFrameWait = 0;  // no more instructions until a frame is presented

  uint32_t frameDeadline = 0;  // ms on the clock: end of the current frame (set from the clock)
  uint32_t framePeriod = 33;   // ms
  int32_t frameSkipEnabled = 1;
  int32_t skippedFrames = 0;
  int32_t saveSystemAtExit = 1;
  uint8_t transitionState = kPresentFrame;  // a PresentationState; other values do nothing
  int8_t transitionEffect = 0;
  int32_t transitionStep = 0;
  uint8_t screenMode = 1;  // 1 full screen, 0 window (Save\Sys may say otherwise)
  int32_t cursorAutoHide = 0;
  int32_t cursorVisible = 1;
  int32_t lastMouseX = 0, lastMouseY = 0;
  uint32_t lastMouseMoveTime = 0;
  uint32_t cursorHideDelay = 3000;  // ms of stillness before the cursor hides
  int32_t recordSeenImages = 1;
  int32_t justRestored = 0;
  uint32_t randomState = 1;  // the runtime library's rand() state (seeded from the clock)

  std::unique_ptr<int32_t[]> auxTable;          // only the save group allocates it
  std::unique_ptr<platform::Bitmap> thumbnail;  // the last MakeThumbnail's picture, or none
};

// Puts every field of [state] back to the start of a run.
inline void resetRunState(RunState& state) { state = RunState{}; }

}  // namespace kelvox::vm
