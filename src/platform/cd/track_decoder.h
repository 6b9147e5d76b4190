// One ripped CD track as the mixer's sound: decoded with libsndfile (FLAC, Ogg Vorbis and
// Opus, WAV, MP3 and whatever else the installed library reads) and turned into stereo frames
// at 44100 Hz, a piece at a time. Mono is played on both sides; of more channels, the first
// two. Other rates are resampled by linear interpolation at exact source positions.
//
// Only a regular, non-empty file is opened (a folder or a FIFO is refused without waiting). A
// file that breaks off or fails to read part-way ends there: read returns 0 from then on.
// Samples that are not finite numbers (a damaged float file) are played as silence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/cd/audio_disc.h"

struct sf_private_tag;  // libsndfile's SNDFILE

namespace kelvox::platform {

class TrackDecoder final : public TrackAudio {
 public:
  static constexpr int kRate = 44100;

  explicit TrackDecoder(const std::filesystem::path& file);
  // Decodes [bytes], which must outlive the decoder (fuzzing, tests).
  explicit TrackDecoder(std::span<const uint8_t> bytes);
  ~TrackDecoder() override;
  TrackDecoder(const TrackDecoder&) = delete;
  TrackDecoder& operator=(const TrackDecoder&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  // Why the file could not be opened.
  const std::string& error() const { return error_; }
  // The track's length in 44100 Hz frames, as its file states it.
  uint64_t frames() const override { return outFrames_; }
  // Every frame has been read (or the file broke off).
  bool finished() const override { return next_ >= outFrames_; }

  // Decodes the next frames, at most [frames], into [out] (interleaved stereo, ±1 full scale).
  // Returns how many; 0 at the end.
  size_t read(float* out, size_t frames) override;
  // Seeks in the file (decoding only where the format cannot seek).
  bool skip(uint64_t frames) override;

 private:
  void start();               // opens the decoder over source_
  bool fill(uint64_t frame);  // makes source frame [frame] part of the block, if the file has it

 public:
  // Where libsndfile's reads go: a file descriptor or bytes in memory.
  struct Source {
    int fd = -1;
    std::span<const uint8_t> memory;
    int64_t size = 0, position = 0;
  };

 private:
  Source source_;
  sf_private_tag* file_ = nullptr;
  std::string error_;
  int channels_ = 0;
  uint64_t rate_ = kRate;
  uint64_t srcFrames_ = 0;  // source frames the file holds (cut short where it breaks off)
  uint64_t outFrames_ = 0;
  uint64_t next_ = 0;       // the next output frame
  // The decoded block, stereo: source frames [blockStart_, blockStart_ + block_.size() / 2).
  std::vector<float> block_;
  uint64_t blockStart_ = 0;
  std::vector<float> raw_;  // one read of the file's own channels
};

}  // namespace kelvox::platform
