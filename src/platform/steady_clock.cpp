// The host's monotonic clock as a wrapping millisecond counter.
#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace kelvox::platform {

uint32_t SteadyClock::now() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(ms.count());
}

void SteadyClock::sleep(uint32_t ms) {
  if (ms == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t SteadyClock::wallSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace kelvox::platform
