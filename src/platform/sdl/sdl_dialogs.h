// Message boxes on SDL: MessageBoxA's button sets, default button and icons over
// SDL_ShowMessageBox, modal to the game window when there is one. Shift-JIS texts are shown
// as UTF-8. Where no box can be shown (no display at all), the box is written to stderr as one
// line and answered with its default button, so an unattended run never hangs on it.
#pragma once

#include "platform/dialogs.h"

namespace kelvox::platform::sdl {

class SdlWindow;

class SdlDialogs final : public Dialogs {
 public:
  // Boxes are parented to [parent] (may be null: free-standing boxes). The window must outlive
  // this object or be replaced with setParent first.
  explicit SdlDialogs(SdlWindow* parent = nullptr) : parent_(parent) {}

  void setParent(SdlWindow* parent) { parent_ = parent; }

  Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                    Icon icon = Icon::None, int defaultButton = 0) override;

 private:
  SdlWindow* parent_;
};

}  // namespace kelvox::platform::sdl
