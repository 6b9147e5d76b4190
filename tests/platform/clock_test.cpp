// Waiting for a deadline: the virtual clock keeps the original's sleep-then-spin sequence to
// the millisecond (the frame loop's tests rely on it); the steady clock returns only once its
// counter has passed the deadline. Nothing here measures how long a wait took.
#include "platform/clock.h"

#include <gtest/gtest.h>

namespace kelvox::platform {
namespace {

TEST(ClockWait, VirtualClockSleepsToThreeMillisecondsBeforeAndSpinsPastTheDeadline) {
  const struct { uint32_t reading, deadline, after; } cases[] = {
      {1010, 1033, 1035},  // slept 20 to 1030, then a reading a millisecond until 1034 passed it
      {1032, 1033, 1035},  // within 3 ms: a yield, then readings at 1032, 1033 and 1034
      {1033, 1033, 1035},  // the deadline itself has not passed yet
      {1040, 1033, 1040},  // already past: no sleep, no reading
      {0xFFFFFFF0u, 5, 7},  // across the counter's wrap
  };
  for (const auto& c : cases) {
    VirtualClock clock(c.reading);
    clock.sleepPast(c.deadline, c.reading);
    EXPECT_EQ(clock.now(), c.after) << c.reading << " to " << c.deadline;
  }
}

TEST(ClockWait, SteadyClockReturnsOnlyPastTheDeadline) {
  SteadyClock clock;
  for (uint32_t ahead : {0u, 1u, 5u}) {
    const uint32_t start = clock.now();
    clock.sleepPast(start + ahead, start);
    EXPECT_LT(static_cast<int32_t>(start + ahead - clock.now()), 0) << ahead;
  }
  const uint32_t start = clock.now();
  clock.sleepPast(start - 100, start);  // long passed
  EXPECT_LT(static_cast<int32_t>(start - 100 - clock.now()), 0);
}

}  // namespace
}  // namespace kelvox::platform
