// The process-wide registry of window-message listeners. Objects that need the messages the
// system sends to the main window (the CD player waits for its completion notice) register
// here; the main window passes every message to all of them, in registration order, under
// the registry's lock. A listener must not add or remove listeners from inside onMessage.
#pragma once

#include <cstdint>

namespace kelvox::shell {

class WindowMessageListener {
 public:
  virtual ~WindowMessageListener() = default;
  // [window] is an opaque handle of the main window; the rest as the window procedure got them.
  virtual void onMessage(void* window, uint32_t message, uint32_t wParam, int32_t lParam) = 0;
};

// Appends [listener] unless it is already registered.
void addListener(WindowMessageListener* listener);
// Removes the first matching entry, keeping the others' order; nothing if absent.
void removeListener(WindowMessageListener* listener);
// Calls every listener's onMessage in registration order.
void broadcastMessage(void* window, uint32_t message, uint32_t wParam, int32_t lParam);
// Number of registered listeners.
int listenerCount();

}  // namespace kelvox::shell
