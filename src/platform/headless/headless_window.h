// A window that is never shown, for tests, CI and batch runs. Events come only from inject()
// and postNotice(); the caption, the cursor counter and the recent cursor moves are recorded
// so tests can look at them. A cursor move is reported back as a mouse-move event at the next
// pump, as the system does; moves between two pumps are reported as one. Notices may be posted
// from any thread; they arrive after the injected events.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <vector>

#include "platform/window.h"

namespace kelvox::platform {

class HeadlessWindow final : public Window {
 public:
  explicit HeadlessWindow(std::string sjisCaption = {}) : caption_(std::move(sjisCaption)) {}

  void pumpEvents(std::vector<WindowEvent>& events) override;
  void setCaption(const std::string& sjisCaption) override { caption_ = sjisCaption; }
  std::string caption() const override { return caption_; }
  int showCursor(bool show) override;
  void setCursorPos(int x, int y) override;
  bool isKeyDown(int vk) override { return down_.count(vk) != 0; }
  void close() override { closed_ = true; }
  bool postNotice(uint32_t message, uint32_t wParam, int32_t lParam) override;

  // Queues [event] for the next pump; key and button events also change isKeyDown.
  void inject(const WindowEvent& event);

  bool closed() const { return closed_; }
  const CursorCounter& cursor() const { return cursor_; }
  int showCursorCalls() const { return showCursorCalls_; }
  // The most recent cursor moves (at least the last kKeptRecords) and how many there were.
  const std::vector<std::pair<int, int>>& cursorMoves() const { return cursorMoves_; }
  uint64_t cursorMoveCount() const { return cursorMoveCount_; }

 private:
  std::vector<WindowEvent> pending_;
  std::set<int> down_;
  std::mutex noticeLock_;              // guards notices_, the one state other threads touch
  std::vector<WindowEvent> notices_;
  std::string caption_;
  CursorCounter cursor_;
  int showCursorCalls_ = 0;
  std::vector<std::pair<int, int>> cursorMoves_;
  uint64_t cursorMoveCount_ = 0;
  bool closed_ = false;
};

}  // namespace kelvox::platform
