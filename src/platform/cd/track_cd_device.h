// The CD-audio device: a disc is a volume found through Volumes by its drive letter, and its
// tracks come from the first of these that has any: the volume's disc image or drive
// (Volume::files, an AudioDisc: cue sheets, libcdio), ripped track files in the volume's
// folder (ripped_disc.h), or the drive a mounted disc is in (read through libcdio). A track
// without audio (the data track of a mixed-mode disc, a file that does not decode) has no
// length of sound: playing from it fails (kMciHardware), and a play to the end of the disc
// passes over it.
//
// The disc's table of contents is read when it is opened. A play reads its tracks one after
// the other into a CdRing; a track that breaks off part-way ends where it breaks.
//
// Feeding. With Feeding::Thread a thread of the device keeps about a second decoded ahead and
// posts the notices (a game in a window, whose sound card pulls on its own thread). With
// Feeding::OnPrepare only prepare does, on the engine thread, just before each pull of the
// headless device, decoding exactly what that pull will take, so a headless run hears the same
// samples and gets its notices at the same ticks every time.
//
// Threads: the engine thread calls the MCI verbs, the feeder (or prepare) decodes, the audio
// thread mixes from the ring. The device's lock guards the disc, the play and the ring's writer
// side, and is held only for bookkeeping: the feeder lets it go while it decodes a piece
// (about a tenth of a second) or opens the next track, so the engine thread's calls never wait
// for the decoder. A play, stop or close meanwhile makes that piece stale, and it is dropped.
// The audio thread never takes the lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/cd/cd_ring.h"
#include "platform/cd_device.h"

namespace kelvox::platform {

class AudioDisc;
class TrackAudio;
class Volumes;

class TrackCdDevice final : public CdDevice {
 public:
  enum class Feeding { Thread, OnPrepare };

  // The drives are [volumes] (may be null: no drives).
  TrackCdDevice(Volumes* volumes, Feeding feeding);
  ~TrackCdDevice() override;
  TrackCdDevice(const TrackCdDevice&) = delete;
  TrackCdDevice& operator=(const TrackCdDevice&) = delete;

  uint32_t open(std::string_view element, uint16_t& deviceId) override;
  uint32_t close(uint16_t deviceId) override;
  std::optional<uint32_t> trackCount(uint16_t deviceId) override;
  std::optional<uint64_t> discLength(uint16_t deviceId) override;
  std::optional<uint64_t> trackStart(uint16_t deviceId, uint32_t track) override;
  std::optional<uint64_t> trackLength(uint16_t deviceId, uint32_t track) override;
  uint32_t play(uint16_t deviceId, uint32_t from, std::optional<uint32_t> to, Window* notify) override;
  uint32_t stop(uint16_t deviceId) override;
  size_t mix(float* acc, size_t frames, float gain) override;
  void prepare(size_t frames) override;

 private:
  struct Track {
    uint64_t frames = 0;  // 0: no audio
  };

  bool isOpenId(uint16_t deviceId) const { return open_ && deviceId == deviceId_; }
  // Decodes until [ahead] frames are queued or the play has nothing left to decode; [lock]
  // holds mutex_, and is let go while a piece is decoded and while the next track is opened.
  void fill(std::unique_lock<std::mutex>& lock, size_t ahead);
  // The rest under mutex_.
  std::vector<uint32_t> remainingLocked() const;  // tracks with audio from nextTrack_ to the end of the range
  void postFinishedLocked();
  void stopLocked();                    // ends the play as stop() does
  void endPlayLocked(uint32_t notice);  // ends the play, posting [notice] if one is owed
  void feederLoop();

  Volumes* volumes_;
  Feeding feeding_;
  CdRing ring_;

  std::mutex mutex_;
  bool open_ = false;
  uint16_t deviceId_ = 0;
  uint16_t lastId_ = 0;
  std::vector<Track> tracks_;  // [0] is track 1
  std::shared_ptr<AudioDisc> disc_;

  uint64_t generation_ = 0;    // moves on whenever a play ends or starts: a piece decoded before is stale
  uint32_t play_ = 0;          // the current play's number in the ring (0 none)
  uint32_t lastPlay_ = 0;
  bool decoding_ = false;      // the play still has tracks to decode
  uint32_t nextTrack_ = 0;     // the track to decode after the current one
  uint32_t endTrack_ = 0;      // the first track after the range
  std::unique_ptr<TrackAudio> decoder_;  // null while a filler has it out, decoding
  Window* notify_ = nullptr;   // owed a notice by the current play
  std::vector<float> piece_;   // what a filler decodes, outside the lock (one filler at a time)

  std::thread feeder_;
  std::condition_variable wake_;
  bool quit_ = false;
};

}  // namespace kelvox::platform
