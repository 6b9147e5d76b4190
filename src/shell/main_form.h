// TMainForm: the one game window. It owns the EngineHost, drives it from the application's
// idle processing, forwards mouse, activation and paint events to it, asks before quitting on
// Escape, and tears everything down when it closes. Every event first goes to the registered
// window-message listeners while the host is alive.
#pragma once

#include <memory>

#include "platform/window.h"
#include "shell/engine_host.h"

namespace kelvox::platform {
struct Platform;
}

namespace kelvox::shell {

class TMainForm {
 public:
  explicit TMainForm(platform::Platform& platform);
  ~TMainForm();

  // Creates the host. A failure raises (the caller shows it) and leaves the idle handler
  // uninstalled: the window stays open and black without running the game.
  void FormCreate();
  // Runs destroyHost again if a host is left, then drops it.
  void FormDestroy();
  void FormActivate();
  void FormDeactivate();
  void FormPaint();
  // Tears the host down and shows the cursor; a failure raises and abandons the close.
  void FormClose();
  void FormKeyDown(int virtualKey);
  void FormMouseMove(int x, int y);
  void FormMouseDown(int x, int y);
  void FormMouseUp(int x, int y);

  // The window procedure: listeners first, then the form's handler for the event.
  void windowProc(const platform::WindowEvent& event);
  // The idle handler: one tick; closes the window when the script asked to end.
  void onIdle();

  std::string soundFont;  // handed to the host FormCreate makes

  bool idleInstalled() const { return idleInstalled_; }
  bool closed() const { return closed_; }
  EngineHost* host() const { return host_.get(); }
  // True once a teardown could not write Save\Sys (kept after the host is gone).
  bool systemFileLost() const { return systemFileLost_ || (host_ && host_->systemFileLost); }

 private:
  platform::Platform& platform_;
  std::unique_ptr<EngineHost> host_;
  bool hostAlive_ = false;
  bool idleInstalled_ = false;
  bool closed_ = false;
  bool systemFileLost_ = false;
};

}  // namespace kelvox::shell
