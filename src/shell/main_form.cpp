// The main window's event handlers.
#include "shell/main_form.h"

#include "common/fatal_error.h"
#include "common/window_messages.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "shell/error_box.h"

namespace kelvox::shell {

namespace {
constexpr int kVkEscape = 27;
}

TMainForm::TMainForm(platform::Platform& platform) : platform_(platform) {}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
  hostAlive_ = true;
  platform_.window.setCaption(kAppTitle);
  host_ = std::make_unique<EngineHost>(platform_);
  host_->soundFont = soundFont;
  createHost(*host_);
  idleInstalled_ = true;
}

void TMainForm::FormDestroy() {
  if (host_) {
    destroyHost(*host_);
    systemFileLost_ = systemFileLost_ || host_->systemFileLost;
    host_.reset();
  }
  hostAlive_ = false;
}

void TMainForm::FormActivate() {
  if (host_) setActive(*host_, true);
}

void TMainForm::FormDeactivate() {
  if (host_) setActive(*host_, false);
}

void TMainForm::FormPaint() {
  if (host_) invalidate(*host_);
}

void TMainForm::FormClose() {
  if (host_) destroyHost(*host_);
  platform_.window.showCursor(true);  // the cursor is visible after the game
  closed_ = true;
  idleInstalled_ = false;
  hostAlive_ = false;
  platform_.window.close();
}

void TMainForm::FormKeyDown(int virtualKey) {
  if (virtualKey != kVkEscape) return;
  // The two cursor calls balance, so the cursor returns to its previous state.
  platform_.window.showCursor(true);
  auto answer = platform_.dialogs.messageBox(platform::toSjis("終了しますか"), kAppTitle, platform::Buttons::OkCancel,
                                             platform::Icon::None, 1);
  platform_.window.showCursor(false);
  if (answer == platform::Answer::Ok) FormClose();
}

void TMainForm::FormMouseMove(int x, int y) {
  if (host_) setMousePosition(*host_, x, y);
}

void TMainForm::FormMouseDown(int x, int y) { FormMouseMove(x, y); }

void TMainForm::FormMouseUp(int x, int y) { FormMouseMove(x, y); }

void TMainForm::windowProc(const platform::WindowEvent& event) {
  if (hostAlive_ && host_) {
    common::WindowMessage msg = common::toWindowMessage(event);
    host_->listeners.broadcastMessage(&platform_.window, msg.message, msg.wParam, msg.lParam);
  }
  using Kind = platform::WindowEvent::Kind;
  switch (event.kind) {
    case Kind::MouseMove: FormMouseMove(event.x, event.y); break;
    case Kind::MouseDown: FormMouseDown(event.x, event.y); break;
    case Kind::MouseUp: FormMouseUp(event.x, event.y); break;
    case Kind::KeyDown: FormKeyDown(event.virtualKey); break;
    case Kind::Activate: FormActivate(); break;
    case Kind::Deactivate: FormDeactivate(); break;
    case Kind::Paint: FormPaint(); break;
    case Kind::Close: FormClose(); break;  // the title bar's close asks nothing
    case Kind::KeyUp:
    case Kind::Notice: break;
  }
}

void TMainForm::onIdle() {
  if (!idleInstalled_ || !host_) return;
  // A fault can ask to end and then raise (running off the code): the tick never reached the
  // check below, so the end request is seen here, before another tick runs.
  if (isEndRequested(*host_)) {
    FormClose();
    return;
  }
  tickHost(*host_);
  if (isEndRequested(*host_)) FormClose();
}

}  // namespace kelvox::shell
