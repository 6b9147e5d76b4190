// The listener array, guarded by a mutex.
#include "common/listener_registry.h"

#include <algorithm>

namespace kelvox::common {

void ListenerRegistry::addListener(WindowMessageListener* listener) {
  if (listener == nullptr) return;
  std::lock_guard guard(lock_);
  if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) listeners_.push_back(listener);
}

void ListenerRegistry::removeListener(WindowMessageListener* listener) {
  std::lock_guard guard(lock_);
  auto it = std::find(listeners_.begin(), listeners_.end(), listener);
  if (it != listeners_.end()) listeners_.erase(it);
  if (listeners_.empty()) listeners_.shrink_to_fit();  // removing the last entry frees the array
}

void ListenerRegistry::broadcastMessage(void* window, uint32_t message, uint32_t wParam, int32_t lParam) {
  std::lock_guard guard(lock_);
  for (auto* listener : listeners_) listener->onMessage(window, message, wParam, lParam);
}

int ListenerRegistry::listenerCount() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(listeners_.size());
}

}  // namespace kelvox::common
