// The registry of window-message listeners. Objects that need the messages the system sends to
// the main window (the CD player waits for its completion notice) register here; the main
// window passes every message to all of them, in registration order, under the registry's
// lock. The engine host owns the one registry of a run and hands it to the objects that
// listen; nothing reaches it through a global.
//
// Threads: every call may come from any thread; broadcasts in practice come from the engine
// thread's event pump. A listener must not add or remove listeners from inside onMessage.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace kelvox::common {

class WindowMessageListener {
 public:
  virtual ~WindowMessageListener() = default;
  // [window] is an opaque handle of the main window; the rest as the window procedure got them.
  virtual void onMessage(void* window, uint32_t message, uint32_t wParam, int32_t lParam) = 0;
};

class ListenerRegistry {
 public:
  // Appends [listener] unless it is already registered; a null listener is ignored.
  void addListener(WindowMessageListener* listener);
  // Removes the first matching entry, keeping the others' order; nothing if absent.
  void removeListener(WindowMessageListener* listener);
  // Calls every listener's onMessage in registration order.
  void broadcastMessage(void* window, uint32_t message, uint32_t wParam, int32_t lParam);
  int listenerCount() const;

 private:
  mutable std::mutex lock_;
  std::vector<WindowMessageListener*> listeners_;  // not owned
};

}  // namespace kelvox::common
