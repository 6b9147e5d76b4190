// Tick period statistics.
#include "shell/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace kelvox::shell {

void FrameStats::tickStarted(uint32_t nowMs) {
  ++ticks_;
  if (started_) periods_.push_back(nowMs - lastStart_);  // wrap-safe unsigned difference
  started_ = true;
  lastStart_ = nowMs;
}

double FrameStats::meanPeriodMs() const {
  if (periods_.empty()) return 0.0;
  return std::accumulate(periods_.begin(), periods_.end(), 0.0) / static_cast<double>(periods_.size());
}

uint32_t FrameStats::percentilePeriodMs(double percentile) const {
  if (periods_.empty()) return 0;
  std::vector<uint32_t> sorted = periods_;
  std::sort(sorted.begin(), sorted.end());
  // Nearest-rank: the smallest period that at least [percentile] % of periods do not exceed.
  size_t rank = static_cast<size_t>(std::ceil(percentile / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

uint32_t FrameStats::slowestPeriodMs() const {
  return periods_.empty() ? 0 : *std::max_element(periods_.begin(), periods_.end());
}

std::string FrameStats::report() const {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer,
                "ticks: %llu\nframes presented: %llu\nframes skipped: %llu\n"
                "tick period: mean %.2f ms, 99th percentile %u ms, slowest %u ms\n",
                static_cast<unsigned long long>(ticks_), static_cast<unsigned long long>(presented_),
                static_cast<unsigned long long>(skipped_), meanPeriodMs(), percentilePeriodMs(99.0),
                slowestPeriodMs());
  return buffer;
}

}  // namespace kelvox::shell
