// The window-message listener registry: order, duplicates, removal, an empty broadcast, and
// registries that do not share their listeners.
#include "common/listener_registry.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/window_messages.h"

namespace kelvox::common {
namespace {

struct RecordingListener final : WindowMessageListener {
  explicit RecordingListener(std::vector<int>* order = nullptr, int id = 0) : order(order), id(id) {}
  std::vector<WindowMessage> seen;
  std::vector<int>* order;
  int id;
  void onMessage(void*, uint32_t message, uint32_t wParam, int32_t lParam) override {
    seen.push_back({message, wParam, lParam});
    if (order) order->push_back(id);
  }
};

TEST(ListenerRegistry, RegistrationOrderAndDuplicates) {
  ListenerRegistry registry;
  std::vector<int> order;
  RecordingListener a(&order, 1), b(&order, 2);
  registry.broadcastMessage(nullptr, 1, 2, 3);  // nobody listening: nothing happens
  registry.addListener(&b);
  registry.addListener(&a);
  registry.addListener(&b);  // already there: still one entry, still first
  EXPECT_EQ(registry.listenerCount(), 2);
  registry.broadcastMessage(nullptr, kMmMciNotify, 1, 7);
  EXPECT_EQ(order, (std::vector<int>{2, 1}));
  ASSERT_EQ(a.seen.size(), 1u);
  EXPECT_EQ(a.seen[0].message, kMmMciNotify);
  EXPECT_EQ(a.seen[0].wParam, 1u);
  EXPECT_EQ(a.seen[0].lParam, 7);
  registry.removeListener(&a);
  registry.removeListener(&a);  // never there any more: nothing changes
  EXPECT_EQ(registry.listenerCount(), 1);
  registry.removeListener(&b);
  EXPECT_EQ(registry.listenerCount(), 0);
}

TEST(ListenerRegistry, RemovingOneKeepsTheOthersInOrder) {
  ListenerRegistry registry;
  std::vector<int> order;
  RecordingListener a(&order, 1), b(&order, 2), c(&order, 3);
  for (auto* l : {&a, &b, &c}) registry.addListener(l);
  registry.removeListener(&b);
  registry.addListener(&b);  // comes back at the end
  registry.broadcastMessage(nullptr, 0x10, 0, 0);
  EXPECT_EQ(order, (std::vector<int>{1, 3, 2}));
}

TEST(ListenerRegistry, ANullListenerIsNeverCalled) {
  ListenerRegistry registry;
  registry.addListener(nullptr);
  EXPECT_EQ(registry.listenerCount(), 0);
  registry.broadcastMessage(nullptr, 1, 0, 0);  // would crash on a stored null
}

TEST(ListenerRegistry, EachRegistryHasItsOwnListeners) {
  // Two runs in one process (two hosts, or tests side by side) do not hear each other.
  ListenerRegistry first, second;
  RecordingListener a;
  first.addListener(&a);
  second.broadcastMessage(nullptr, kMmMciNotify, 1, 0);
  EXPECT_TRUE(a.seen.empty());
  EXPECT_EQ(second.listenerCount(), 0);
}

}  // namespace
}  // namespace kelvox::common
