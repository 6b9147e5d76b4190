// What the CD-audio device plays from: a disc's tracks, each with its length, and a way to open
// one track's sound. Ripped tracks (RippedDisc), a disc image's tracks (cue sheets) and a disc
// in a drive (libcdio) are all discs of this kind.
//
// Threads: tracks() is called on the engine thread, openTrack on the CD feeder too; every disc
// keeps both safe to call at once. A TrackAudio belongs to the one thread that reads it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvox::platform {

// One track's sound as stereo 44100 Hz frames, a piece at a time.
class TrackAudio {
 public:
  virtual ~TrackAudio() = default;
  // The track's length in frames, as its source states it.
  virtual uint64_t frames() const = 0;
  // Every frame has been read (or the source broke off).
  virtual bool finished() const = 0;
  // The next frames, at most [frames], into [out] (interleaved, ±1 full scale); how many, 0 at
  // the end. A source that breaks off ends there.
  virtual size_t read(float* out, size_t frames) = 0;
  // Moves past the next [frames] frames without handing them out; false if the source ends
  // first. Reads and drops them, unless the source can seek.
  virtual bool skip(uint64_t frames) {
    std::vector<float> scratch(2 * 4096);
    for (uint64_t done = 0; done < frames;) {
      size_t n = read(scratch.data(), static_cast<size_t>(std::min<uint64_t>(4096, frames - done)));
      if (n == 0) return false;
      done += n;
    }
    return true;
  }
};

// A track as the disc's table of contents gives it.
struct DiscTrack {
  bool audio = false;   // false: a data track, or audio that cannot be played
  uint64_t frames = 0;  // length in 44100 Hz frames (data tracks too, by their sectors)
};

class AudioDisc {
 public:
  virtual ~AudioDisc() = default;
  // Track 1 first; track numbers on a disc start at 1 here.
  virtual std::vector<DiscTrack> tracks() = 0;
  // The sound of track [number] from its start; null when it cannot be opened now.
  virtual std::unique_ptr<TrackAudio> openTrack(uint32_t number) = 0;
};

// CD audio: 588 stereo 16-bit frames make one 2352-byte sector; 75 sectors a second.
inline constexpr uint32_t kFramesPerSector = 588;
inline constexpr uint32_t kRawSectorBytes = 2352;

}  // namespace kelvox::platform
