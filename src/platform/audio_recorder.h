// Recording what an audio device plays into a WAV file (kelvox --audio-out): an AudioDevice
// that wraps the real one, passes every pull on to the engine's source and keeps a copy.
//
// The file is the canonical 44-byte-header PCM WAV, 16-bit stereo at 44100 Hz. A target that
// is missing or a regular file is written through an AtomicFile (atomic_file.h) and renamed
// into place by finish(), after the header's sizes are filled in and the data is on disk; a
// run that dies leaves the old file alone.
//
// A target that is a FIFO or a character device (/dev/null, a pipe to a player) is written
// straight to, as a stream, and never replaced. A stream cannot be rewound to fill in the
// sizes, so its header claims the largest data a WAV can hold (kStreamDataBytes) and readers
// take the sound up to the stream's end, as they do for any piped WAV. The stream is written
// without blocking: what a slow reader does not take is kept up to one second and then
// dropped (counted in framesDropped), so the engine never waits on it; finish() gives the
// reader two more seconds for the rest. A FIFO that no program reads is refused at start(), as
// is any other kind of target (a link, a folder, a block device), with a message saying so.
//
// Threads: a pull on the thread that made the recorder (the headless device's, in update)
// writes to the file at once. A pull on another thread (SDL's audio thread) only copies into a
// ring of four seconds that update() empties into the file on the engine thread, so that thread
// never waits for the disk; what does not fit is dropped and counted.
//
// A recording does not depend on a sound card: when the real device cannot open, the
// [fallback] device (the headless one, pulling in step with the engine's clock) is opened
// instead, so a windowed run on a machine without sound still records what would be heard.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/audio_device.h"

namespace kelvox::platform {

class AudioRecorder final : public AudioDevice, private AudioSource {
 public:
  explicit AudioRecorder(AudioDevice& inner, AudioDevice* fallback = nullptr);
  ~AudioRecorder() override;  // finish() if not done
  AudioRecorder(const AudioRecorder&) = delete;
  AudioRecorder& operator=(const AudioRecorder&) = delete;

  // Starts the temporary file for [file], or the stream to it. False with the reason in
  // [error], leaving whatever is at [file] as it was.
  bool start(const std::filesystem::path& file, std::string& error);
  // Writes what is pending, fills in the header, and renames the file into place (a stream:
  // passes on the rest). False with the reason in [error]; nothing when not started.
  bool finish(std::string& error);
  bool isStream() const { return streamFd_ >= 0; }

  bool open(AudioSource& source) override;
  void close() override;
  bool isOpen() const override { return active_ != nullptr; }
  void update() override;

  // Engine thread: the frames written so far, and those dropped (by the ring or a slow stream;
  // counted on either thread, so the count is atomic).
  uint64_t framesRecorded() const { return dataBytes_ / 4; }
  uint64_t framesDropped() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  void render(std::span<int16_t> out) override;
  void prepare(size_t frames) override { source_->prepare(frames); }
  void append(const int16_t* samples, size_t count);  // engine thread
  void drain();
  bool startStream(const std::filesystem::path& file, std::string& error);
  // Writes as much of [bytes] to the stream as it takes now; the rest waits in streamPending_
  // (whole frames dropped once it holds a second). False when the reader has gone.
  bool streamOut(const uint8_t* bytes, size_t size);
  bool finishStream(std::string& error);

  AudioDevice& inner_;
  AudioDevice* fallback_;
  AudioDevice* active_ = nullptr;  // the one of the two that pulls; none when closed
  AudioSource* source_ = nullptr;
  std::thread::id engineThread_;
  std::unique_ptr<AtomicFile> file_;  // a regular target, until finish
  int streamFd_ = -1;                 // a FIFO or device target, until finish
  std::vector<uint8_t> streamPending_;
  std::filesystem::path target_;
  uint64_t dataBytes_ = 0;
  bool writeFailed_ = false;

  std::mutex ringMutex_;
  std::vector<int16_t> ring_;  // samples pulled on another thread, not yet written
  size_t ringStart_ = 0, ringCount_ = 0;
  std::atomic<uint64_t> dropped_{0};  // frames
  std::vector<int16_t> drainBuffer_;
};

// The canonical 44-byte header of a 16-bit stereo 44100 Hz PCM file with [dataBytes] of data.
std::vector<uint8_t> wavHeader(uint32_t dataBytes);
// The data size a stream's header claims: the largest whole number of frames whose RIFF size
// still fits 32 bits.
inline constexpr uint32_t kStreamDataBytes = 0xFFFFFFD8u;

}  // namespace kelvox::platform
