// Timed input for unattended runs (--input FILE): one event per line, applied at the start of
// the tick it names (ticks count from 0):
//   TICK mouse X Y            the pointer moves to game pixel (X, Y)
//   TICK down left|right|middle   a button goes down at the pointer
//   TICK up left|right|middle
//   TICK key VK down|up       Windows virtual-key number VK
// A '#' starts a comment to the end of its line; blank lines are ignored. ScriptedInput wraps
// the real window: scripted events arrive with its own, and scripted keys and buttons count as
// held down. The owning platforms put it around their window when a run asks for it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/window.h"

namespace kelvox::platform {

using InputSchedule = std::map<uint64_t, std::vector<WindowEvent>>;

// Parses the text of an input file; false with "line N: reason" in [error] on a bad line.
bool parseInputScript(const std::string& text, InputSchedule& schedule, std::string& error);

// Reads and parses the input file [file] (a regular file of at most 4 MiB); nullopt with the
// reason in [error] ("cannot read the input file FILE: …" or "FILE: line N: …").
std::optional<InputSchedule> readInputScript(const std::string& file, std::string& error);

class ScriptedInput final : public Window {
 public:
  ScriptedInput(Window& inner, InputSchedule schedule) : inner_(inner), schedule_(std::move(schedule)) {}

  // Queues the events of tick [tick] for the next pump.
  void beginTick(uint64_t tick);

  void pumpEvents(std::vector<WindowEvent>& events) override;
  void setCaption(const std::string& sjisCaption) override { inner_.setCaption(sjisCaption); }
  std::string caption() const override { return inner_.caption(); }
  int showCursor(bool show) override { return inner_.showCursor(show); }
  void setCursorPos(int x, int y) override { inner_.setCursorPos(x, y); }
  bool isKeyDown(int vk) override { return held_.count(vk) != 0 || inner_.isKeyDown(vk); }
  void close() override { inner_.close(); }
  bool postNotice(uint32_t message, uint32_t wParam, int32_t lParam) override {
    return inner_.postNotice(message, wParam, lParam);
  }

 private:
  Window& inner_;
  InputSchedule schedule_;
  std::vector<WindowEvent> due_;
  std::set<int> held_;
};

}  // namespace kelvox::platform
