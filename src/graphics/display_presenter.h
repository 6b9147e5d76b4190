// The frame loop's presentation states carried out on a TDisplay: the graphics side of the
// FramePresenter seam that the shell's frame loop calls once per tick. State 3 also makes the
// machine's two transition surfaces (error 54 when one cannot be made).
#pragma once

#include "graphics/display.h"
#include "vm/frame_presenter.h"

namespace kelvox::graphics {

class DisplayPresenter final : public vm::FramePresenter {
 public:
  explicit DisplayPresenter(TDisplay& display) : display_(display) {}

  void refresh() override { display_.Refresh(); }
  void composeIntoBackup() override { display_.ComposeInto(display_.BackupBuffer()); }
  void prepareTransition(vm::MachineContext& m) override;
  void present() override { display_.Present(); }

 private:
  TDisplay& display_;
};

}  // namespace kelvox::graphics
