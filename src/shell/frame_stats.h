// Figures of a run for authors who want to see how their game keeps time: ticks, frames
// presented and skipped, and the tick period's mean, 99th percentile and maximum.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::shell {

class FrameStats {
 public:
  // Called at the start of each tick with the clock's reading.
  void tickStarted(uint32_t nowMs);
  void framePresented() { ++presented_; }
  void frameSkipped() { ++skipped_; }

  uint64_t ticks() const { return ticks_; }
  uint64_t presented() const { return presented_; }
  uint64_t skipped() const { return skipped_; }
  double meanPeriodMs() const;
  uint32_t percentilePeriodMs(double percentile) const;
  uint32_t slowestPeriodMs() const;

  // The lines printed at exit.
  std::string report() const;

 private:
  uint64_t ticks_ = 0, presented_ = 0, skipped_ = 0;
  bool started_ = false;
  uint32_t lastStart_ = 0;
  std::vector<uint32_t> periods_;  // ms between consecutive tick starts
};

}  // namespace kelvox::shell
