// Parsing and replaying timed input.
#include "platform/scripted_input.h"

#include <algorithm>
#include <sstream>

#include "platform/file_system.h"

namespace kelvox::platform {

namespace {

using Kind = WindowEvent::Kind;

int buttonNumber(const std::string& name) {
  if (name == "left") return 1;
  if (name == "right") return 2;
  if (name == "middle") return 4;
  return 0;
}

}  // namespace

bool parseInputScript(const std::string& text, InputSchedule& schedule, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  int mouseX = 0, mouseY = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    // A '#' starts a comment, at the start of a line or after an event.
    line.erase(std::min(line.find('#'), line.size()));
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(lineNumber) + ": " + why;
      return false;
    };
    // Digits only: stoull alone would take "-1" as the largest tick, one that never comes.
    uint64_t tick;
    if (first.find_first_not_of("0123456789") != std::string::npos)
      return fail("the tick must be a number from 0 up, not '" + first + "'");
    try {
      tick = std::stoull(first);
    } catch (...) {
      return fail("the tick '" + first + "' is too large");
    }
    std::string verb, a, b, extra;
    words >> verb >> a >> b;
    WindowEvent e{Kind::MouseMove};
    if (verb == "mouse") {
      try {
        size_t ua = 0, ub = 0;
        mouseX = std::stoi(a, &ua);
        mouseY = std::stoi(b, &ub);
        if (ua != a.size() || ub != b.size()) return fail("mouse takes X Y");
      } catch (...) {
        return fail("mouse takes X Y");
      }
      e.kind = Kind::MouseMove;
    } else if (verb == "down" || verb == "up") {
      e.button = buttonNumber(a);
      if (e.button == 0 || !b.empty()) return fail(verb + " takes left, right or middle");
      e.kind = verb == "down" ? Kind::MouseDown : Kind::MouseUp;
    } else if (verb == "key") {
      try {
        size_t used = 0;
        e.virtualKey = std::stoi(a, &used);
        if (used != a.size() || e.virtualKey < 0 || e.virtualKey > 255) return fail("key takes a virtual-key number 0..255");
      } catch (...) {
        return fail("key takes a virtual-key number 0..255");
      }
      if (b != "down" && b != "up") return fail("key VK takes down or up");
      e.kind = b == "down" ? Kind::KeyDown : Kind::KeyUp;
    } else {
      return fail("unknown event '" + verb + "' (mouse, down, up, key)");
    }
    if (words >> extra) return fail("unexpected '" + extra + "'");
    e.x = mouseX;
    e.y = mouseY;
    schedule[tick].push_back(e);
  }
  return true;
}

void ScriptedInput::beginTick(uint64_t tick) {
  auto it = schedule_.find(tick);
  if (it == schedule_.end()) return;
  for (const auto& e : it->second) {
    if (e.kind == Kind::KeyDown) held_.insert(e.virtualKey);
    if (e.kind == Kind::KeyUp) held_.erase(e.virtualKey);
    if (e.kind == Kind::MouseDown) held_.insert(e.button);
    if (e.kind == Kind::MouseUp) held_.erase(e.button);
    due_.push_back(e);
  }
  schedule_.erase(it);
}

void ScriptedInput::pumpEvents(std::vector<WindowEvent>& events) {
  inner_.pumpEvents(events);
  events.insert(events.end(), due_.begin(), due_.end());
  due_.clear();
}

// An input file is a few events a line each; anything larger is not one.
constexpr uint64_t kMaxInputFileBytes = 4u << 20;

std::optional<InputSchedule> readInputScript(const std::string& file, std::string& error) {
  // A regular file of sane size only: a folder, a FIFO or /dev/zero is refused at once.
  ReadFailure failure;
  auto bytes = readRegularFile(file, kMaxInputFileBytes, &failure);
  if (!bytes) {
    error = "cannot read the input file " + file + ": " + failure.reason;
    return std::nullopt;
  }
  std::string text(bytes->begin(), bytes->end());
  InputSchedule schedule;
  if (!parseInputScript(text, schedule, error)) {
    error = file + ": " + error;
    return std::nullopt;
  }
  return schedule;
}

}  // namespace kelvox::platform
