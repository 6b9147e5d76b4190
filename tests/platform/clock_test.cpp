// Waiting for a deadline on the steady clock returns only once its counter has passed the
// deadline (the virtual clock's sleep-then-spin is pinned by the frame loop's tests). Nothing
// here measures how long a wait took.
#include "platform/clock.h"

#include <gtest/gtest.h>

namespace kelvox::platform {
namespace {

TEST(ClockWait, SteadyClockReturnsOnlyPastTheDeadline) {
  SteadyClock clock;
  for (uint32_t ahead : {0u, 1u, 5u, 0xFFFFFF00u /* long passed */}) {
    const uint32_t deadline = clock.now() + ahead;
    clock.sleepPast(deadline, deadline - ahead);
    EXPECT_LT(static_cast<int32_t>(deadline - clock.now()), 0) << ahead;
  }
}

}  // namespace
}  // namespace kelvox::platform
