// The invisible window's event queue and records.
#include "platform/headless/headless_window.h"

#include "platform/headless/bounded_record.h"

namespace kelvox::platform {

void HeadlessWindow::pumpEvents(std::vector<WindowEvent>& events) {
  events.insert(events.end(), pending_.begin(), pending_.end());
  pending_.clear();
  std::lock_guard guard(noticeLock_);
  events.insert(events.end(), notices_.begin(), notices_.end());
  notices_.clear();
}

bool HeadlessWindow::postNotice(uint32_t message, uint32_t wParam, int32_t lParam) {
  WindowEvent notice{WindowEvent::Kind::Notice};
  notice.message = message;
  notice.wParam = wParam;
  notice.lParam = lParam;
  std::lock_guard guard(noticeLock_);
  notices_.push_back(notice);
  return true;
}

int HeadlessWindow::showCursor(bool show) {
  ++showCursorCalls_;
  return cursor_.change(show);
}

void HeadlessWindow::setCursorPos(int x, int y) {
  appendBounded(cursorMoves_, std::pair{x, y});
  ++cursorMoveCount_;
  WindowEvent move{WindowEvent::Kind::MouseMove};
  move.x = x;
  move.y = y;
  // Moves that nobody has pumped yet merge into one, as the system reports only where the
  // pointer is now.
  if (!pending_.empty() && pending_.back().kind == WindowEvent::Kind::MouseMove)
    pending_.back() = move;
  else
    pending_.push_back(move);
}

void HeadlessWindow::inject(const WindowEvent& event) {
  using Kind = WindowEvent::Kind;
  if (event.kind == Kind::KeyDown) down_.insert(event.virtualKey);
  if (event.kind == Kind::KeyUp) down_.erase(event.virtualKey);
  if (event.kind == Kind::MouseDown) down_.insert(event.button);
  if (event.kind == Kind::MouseUp) down_.erase(event.button);
  pending_.push_back(event);
}

}  // namespace kelvox::platform
