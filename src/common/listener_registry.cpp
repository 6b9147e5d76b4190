// One registry per program, guarded by a mutex.
#include "shell/listener_registry.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace kelvox::shell {

namespace {

struct Registry {
  std::mutex lock;
  std::vector<WindowMessageListener*> listeners;
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

void addListener(WindowMessageListener* listener) {
  auto& r = registry();
  std::lock_guard guard(r.lock);
  if (std::find(r.listeners.begin(), r.listeners.end(), listener) == r.listeners.end())
    r.listeners.push_back(listener);
}

void removeListener(WindowMessageListener* listener) {
  auto& r = registry();
  std::lock_guard guard(r.lock);
  auto it = std::find(r.listeners.begin(), r.listeners.end(), listener);
  if (it != r.listeners.end()) r.listeners.erase(it);
  if (r.listeners.empty()) r.listeners.shrink_to_fit();  // removing the last entry frees the array
}

void broadcastMessage(void* window, uint32_t message, uint32_t wParam, int32_t lParam) {
  auto& r = registry();
  std::lock_guard guard(r.lock);
  for (auto* listener : r.listeners) listener->onMessage(window, message, wParam, lParam);
}

int listenerCount() {
  auto& r = registry();
  std::lock_guard guard(r.lock);
  return static_cast<int>(r.listeners.size());
}

}  // namespace kelvox::shell
