// The frames between the CD feeder and the audio thread: a ring with one writer (the feeder,
// one thread at a time: the device's lock decides which) and one reader (the mixer's pull),
// neither of which ever waits for the other. Positions count frames from the ring's creation
// and only grow.
//
// Each play has a number. markStart says that what is written from now on belongs to a new
// play: the reader skips whatever is left of the one before. markEnd says that the play's
// sound ends with what has been written; when the reader has mixed its last frame, heard()
// gives the play's number. A mark packs the play number (24 bits) and a position (40 bits,
// some 290 days of sound) into one atomic word, so the reader never sees half of one.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kelvox::platform {

class CdRing {
 public:
  static constexpr size_t kFrames = 65536;  // about 1.5 s
  static constexpr uint32_t kPlayMask = 0xFFFFFF;

  CdRing() : frames_(new float[kFrames * 2]()) {}

  // Writer side.
  // Frames that may be written now.
  size_t space() const { return kFrames - static_cast<size_t>(write_ - read_.load(std::memory_order_acquire)); }
  // Frames written and not yet read.
  size_t queued() const { return kFrames - space(); }
  // Where the next [frames] may be written: at most what fits before the ring wraps.
  float* writeArea(size_t& frames) {
    size_t at = static_cast<size_t>(write_ % kFrames);
    frames = std::min({frames, space(), kFrames - at});
    return frames_.get() + at * 2;
  }
  void commit(size_t frames) { published_.store(write_ += frames, std::memory_order_release); }
  // Copies in as many of [count] frames (interleaved stereo) at [frames] as there is space for,
  // across the ring's wrap; returns how many.
  size_t write(const float* frames, size_t count) {
    size_t done = 0;
    while (done < count) {
      size_t n = count - done;
      float* area = writeArea(n);
      if (n == 0) break;
      std::copy_n(frames + 2 * done, 2 * n, area);
      commit(n);
      done += n;
    }
    return done;
  }
  void markStart(uint32_t play) { start_.store(pack(play, write_), std::memory_order_release); }
  void markEnd(uint32_t play) { end_.store(pack(play, write_), std::memory_order_release); }
  // The last play whose end has been mixed (0: none yet).
  uint32_t heard() const { return heard_.load(std::memory_order_acquire); }

  // Reader side: adds up to [frames] frames of the current play, times [gain], to [acc];
  // returns how many.
  size_t mix(float* acc, size_t frames, float gain) {
    uint64_t start = start_.load(std::memory_order_acquire);
    uint32_t play = static_cast<uint32_t>(start >> kPositionBits);
    uint64_t read = read_.load(std::memory_order_relaxed);
    if (play != readerPlay_) {
      readerPlay_ = play;
      read = std::max(read, start & kPositionMask);
    }
    uint64_t limit = published_.load(std::memory_order_acquire);
    uint64_t end = end_.load(std::memory_order_acquire);
    bool ends = static_cast<uint32_t>(end >> kPositionBits) == play && play != 0;
    if (ends) limit = std::min(limit, end & kPositionMask);
    size_t n = static_cast<size_t>(std::min<uint64_t>(frames, limit > read ? limit - read : 0));
    for (size_t i = 0; i < n; ++i) {
      const float* f = frames_.get() + ((read + i) % kFrames) * 2;
      acc[2 * i] += f[0] * gain;
      acc[2 * i + 1] += f[1] * gain;
    }
    read += n;
    read_.store(read, std::memory_order_release);
    if (ends && read >= limit) heard_.store(play, std::memory_order_release);
    return n;
  }

 private:
  static constexpr int kPositionBits = 40;
  static constexpr uint64_t kPositionMask = (uint64_t{1} << kPositionBits) - 1;
  static uint64_t pack(uint32_t play, uint64_t position) {
    return uint64_t{play & kPlayMask} << kPositionBits | (position & kPositionMask);
  }

  std::unique_ptr<float[]> frames_;  // stereo, interleaved
  uint64_t write_ = 0;               // the writer's own count
  std::atomic<uint64_t> published_{0};  // write_ as the reader may see it
  std::atomic<uint64_t> read_{0};
  std::atomic<uint64_t> start_{0}, end_{0};
  std::atomic<uint32_t> heard_{0};
  uint32_t readerPlay_ = 0;  // the reader's own
};

}  // namespace kelvox::platform
