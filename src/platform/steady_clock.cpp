// The host's monotonic clock as a wrapping millisecond counter, and the sleeps on it; the
// base Clock's deadline wait (sleep, then read until passed) lives here too.
#include <time.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/clock.h"

namespace kelvox::platform {

void Clock::sleepPast(uint32_t deadline, uint32_t lastReading) {
  const auto remaining = static_cast<int32_t>(deadline - lastReading);
  if (remaining < 0) return;
  sleep(remaining > 3 ? static_cast<uint32_t>(remaining - 3) : 0);
  while (static_cast<int32_t>(deadline - now()) >= 0) {
  }
}

namespace {

constexpr int64_t kNanosPerMs = 1000000;

// Milliseconds of CLOCK_MONOTONIC, unwrapped; now() is their low 32 bits.
int64_t monotonicMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / kNanosPerMs;
}

}  // namespace

uint32_t SteadyClock::now() { return static_cast<uint32_t>(monotonicMs()); }

void SteadyClock::sleep(uint32_t ms) {
  if (ms == 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t SteadyClock::wallSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepPast(uint32_t deadline, uint32_t) {
  // The counter passes [deadline] when the unwrapped time reaches the start of the millisecond
  // after it. A signal (the termination watcher's own thread takes them, but a debugger may
  // not) only shortens a sleep, so it repeats until the clock has really passed.
  for (;;) {
    const int64_t nowMs = monotonicMs();
    const auto ahead = static_cast<int32_t>(deadline - static_cast<uint32_t>(nowMs));
    if (ahead < 0) return;
    const int64_t wakeMs = nowMs + ahead + 1;
    timespec wake{};
    wake.tv_sec = static_cast<time_t>(wakeMs / 1000);
    wake.tv_nsec = static_cast<long>((wakeMs % 1000) * kNanosPerMs);
    int error;
    do error = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr);
    while (error == EINTR);
    if (error != 0) return;  // no such clock: never, on Linux; do not spin on it
  }
}

}  // namespace kelvox::platform
