// Track sound that needs no decoding, and a window onto another track's sound.
//
// RawTrack reads CD-DA sectors straight from a file (a cue sheet's BINARY file): 16-bit
// little-endian stereo at 44100 Hz, sample for sample. A file shorter than the track stated
// ends the track where it ends.
//
// TrackSlice plays frames [start, start + length) of another TrackAudio: one track of a WAVE
// or FLAC file that holds several. The slice skips to [start] when it is opened (a seek where
// the file allows one, so a late track of a whole-disc file starts at once).
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/cd/audio_disc.h"

namespace kelvox::platform {

class RawTrack final : public TrackAudio {
 public:
  // [frames] frames from byte [offset] of [file]; isOpen() false when the file will not open.
  RawTrack(const std::filesystem::path& file, uint64_t offset, uint64_t frames);
  ~RawTrack() override;
  RawTrack(const RawTrack&) = delete;
  RawTrack& operator=(const RawTrack&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  uint64_t frames() const override { return frames_; }
  bool finished() const override { return next_ >= frames_; }
  size_t read(float* out, size_t frames) override;

 private:
  int fd_ = -1;
  uint64_t offset_ = 0;
  uint64_t frames_ = 0;
  uint64_t next_ = 0;
  std::vector<uint8_t> bytes_;
};

class TrackSlice final : public TrackAudio {
 public:
  TrackSlice(std::unique_ptr<TrackAudio> whole, uint64_t start, uint64_t length);
  // False when [start] lies past the end of the sound.
  bool isOpen() const { return open_; }
  uint64_t frames() const override { return length_; }
  bool finished() const override { return next_ >= length_ || whole_->finished(); }
  size_t read(float* out, size_t frames) override;

 private:
  std::unique_ptr<TrackAudio> whole_;
  uint64_t length_;
  uint64_t next_ = 0;
  bool open_ = true;
};

// Converts [frames] frames of 16-bit little-endian stereo at [bytes] into floats at [out].
void convertCdSamples(const uint8_t* bytes, size_t frames, float* out);

}  // namespace kelvox::platform
