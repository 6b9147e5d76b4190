// A window that is never shown, for tests, CI and batch runs. Events come only from inject();
// the caption, the cursor counter and the recent cursor moves are recorded so tests can look
// at them. A cursor move is reported back as a mouse-move event at the next pump, as the
// system does; moves between two pumps are reported as one.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "platform/window.h"

namespace kelvox::platform {

class HeadlessWindow final : public Window {
 public:
  void pumpEvents(std::vector<WindowEvent>& events) override;
  void setCaption(const std::string& sjisCaption) override { caption_ = sjisCaption; }
  std::string caption() const override { return caption_; }
  int showCursor(bool show) override;
  void setCursorPos(int x, int y) override;
  bool isKeyDown(int vk) override { return down_.count(vk) != 0; }
  void close() override { closed_ = true; }

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
  std::string caption_ = "Zarveth Ver1.10";
  CursorCounter cursor_;
  int showCursorCalls_ = 0;
  std::vector<std::pair<int, int>> cursorMoves_;
  uint64_t cursorMoveCount_ = 0;
  bool closed_ = false;
};

}  // namespace kelvox::platform
