// Time, as the engine sees it: a millisecond counter that wraps like timeGetTime, and a sleep.
// SteadyClock reads the host's monotonic clock; VirtualClock is for tests, where sleeping
// advances time instantly and each reading can cost a configurable number of milliseconds.
//
// Waiting for a deadline. sleepPast() blocks until the counter has passed a given reading. The
// base class does it as the original's frame pacing did, with a sleep to 3 ms before it and
// then reading the clock until it has passed (on the VirtualClock every reading costs time, so
// the spin ends); SteadyClock sleeps once, to the very millisecond, on the monotonic clock.
#pragma once

#include <cstdint>

namespace kelvox::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary origin; wraps at 2^32 (compare with signed differences).
  virtual uint32_t now() = 0;
  // Blocks for [ms] milliseconds; 0 only yields.
  virtual void sleep(uint32_t ms) = 0;
  // Wall-clock seconds since 1970 (for seeding and dates).
  virtual int64_t wallSeconds() = 0;
  // Blocks until now() reads past [deadline] (deadline − now() < 0 as a signed difference).
  // [lastReading] is the caller's latest now(), at or before [deadline]; the wait starts from
  // it without another reading. Returns at once for a deadline already passed.
  virtual void sleepPast(uint32_t deadline, uint32_t lastReading);
};

class SteadyClock final : public Clock {
 public:
  uint32_t now() override;
  void sleep(uint32_t ms) override;
  int64_t wallSeconds() override;
  // One absolute sleep on the monotonic clock to the start of millisecond [deadline] + 1, so
  // the thread costs nothing while it waits and wakes within the timer's slack (tens of µs).
  void sleepPast(uint32_t deadline, uint32_t lastReading) override;
};

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(uint32_t start = 0) : time_(start) {}
  uint32_t now() override {
    uint32_t t = time_;
    time_ += costPerRead_;
    return t;
  }
  void sleep(uint32_t ms) override { time_ += ms; }
  int64_t wallSeconds() override { return wall_; }
  void setWallSeconds(int64_t s) { wall_ = s; }

  // Moves time forward by [ms], as if the engine had been busy.
  void advance(uint32_t ms) { time_ += ms; }
  void set(uint32_t t) { time_ = t; }
  // Every now() after this advances time by [ms] (so spin loops terminate); default 1.
  void setCostPerRead(uint32_t ms) { costPerRead_ = ms; }

 private:
  uint32_t time_;
  uint32_t costPerRead_ = 1;
  int64_t wall_ = 946684800;  // 2000-01-01
};

}  // namespace kelvox::platform
