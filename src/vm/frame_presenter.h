// What the frame loop asks of the display at the end of a tick, one operation per
// presentation state (PresentationState). The graphics subsystem implements it over TDisplay;
// the shell's frame loop calls it. Until the script's first SetScreenMode has created the
// display, the host has none and presentation shows nothing.
#pragma once

namespace kelvox::vm {

struct MachineContext;

class FramePresenter {
 public:
  virtual ~FramePresenter() = default;
  // State 0: compose the changed region and show it (only once the display is initialised,
  // and only while the application is active or windowed).
  virtual void refresh() = 0;
  // State 1: compose the frame into the backup buffer (the picture before a transition).
  virtual void composeIntoBackup() = 0;
  // State 3: compose the frame into the work buffer (the picture after the transition), let
  // the patterns' surfaces go, and create the machine's two transition surfaces from the
  // backup and work buffers (raising error 54 when one cannot be made).
  virtual void prepareTransition(MachineContext& m) = 0;
  // State 4: show the back buffer as the transition steps drew it, without composing.
  virtual void present() = 0;
};

}  // namespace kelvox::vm
