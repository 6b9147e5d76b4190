// Opening a disc of ripped tracks, playing ranges of them, and the feeder.
#include "platform/cd/track_cd_device.h"

#include <algorithm>
#include <chrono>

#include "platform/cd/audio_disc.h"
#include "platform/cd/cdio_disc.h"
#include "platform/cd/ripped_disc.h"
#include "platform/cd/track_decoder.h"
#include "platform/volumes.h"
#include "platform/window.h"

namespace kelvox::platform {

namespace {
constexpr size_t kThreadAhead = TrackDecoder::kRate;  // the feeder thread keeps a second ready
constexpr auto kThreadPeriod = std::chrono::milliseconds(10);
constexpr size_t kPieceFrames = 4096;  // decoded with the lock let go: about 93 ms of sound

// Opens the first of [candidates] of [disc] that opens; its number in [number].
std::unique_ptr<TrackAudio> openFirst(AudioDisc& disc, const std::vector<uint32_t>& candidates, uint32_t& number) {
  for (uint32_t track : candidates)
    if (auto audio = disc.openTrack(track)) {
      number = track;
      return audio;
    }
  return nullptr;
}

// The tracks of [volume]: its image's or drive's, else its ripped files, else those of the
// drive it is mounted from.
std::shared_ptr<AudioDisc> discOf(const Volume& volume) {
  if (auto disc = std::dynamic_pointer_cast<AudioDisc>(volume.files)) return disc;
  auto ripped = std::make_shared<RippedDisc>(volume.root);
  if (!ripped->tracks().empty() || volume.device.empty()) return ripped;
  std::string label, error;
  return openCdioDisc(volume.device.string(), false, label, error);
}

char lowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

TrackCdDevice::TrackCdDevice(Volumes* volumes, Feeding feeding) : volumes_(volumes), feeding_(feeding) {
  if (feeding_ == Feeding::Thread) feeder_ = std::thread([this] { feederLoop(); });
}

TrackCdDevice::~TrackCdDevice() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    endPlayLocked(kNotifyAborted);
  }
  wake_.notify_all();
  if (feeder_.joinable()) feeder_.join();
}

uint32_t TrackCdDevice::open(std::string_view element, uint16_t& deviceId) {
  std::lock_guard lock(mutex_);
  if (open_) return kMciMustUseShareable;
  if (!volumes_) return kMciInvalidDeviceName;
  bool anyDrive = element.empty();
  if (!anyDrive && (element.size() != 2 || element[1] != ':')) return kMciInvalidDeviceName;
  std::optional<Volume> disc;
  for (const Volume& v : volumes_->list()) {
    if (anyDrive || v.letter == lowerLetter(element[0])) {
      disc = v;
      break;
    }
  }
  if (!disc) return kMciInvalidDeviceName;

  std::shared_ptr<AudioDisc> audio = discOf(*disc);
  if (!audio) return kMciDeviceNotReady;
  std::vector<Track> tracks;
  bool anyAudio = false;
  for (const DiscTrack& t : audio->tracks()) {
    tracks.push_back({t.audio ? t.frames : 0});
    anyAudio = anyAudio || (t.audio && t.frames > 0);
  }
  if (!anyAudio) return kMciDeviceNotReady;
  tracks_ = std::move(tracks);
  disc_ = std::move(audio);
  open_ = true;
  if (++lastId_ == 0) ++lastId_;
  deviceId_ = deviceId = lastId_;
  return 0;
}

uint32_t TrackCdDevice::close(uint16_t deviceId) {
  std::lock_guard lock(mutex_);
  if (!isOpenId(deviceId)) return kMciInvalidDeviceId;
  stopLocked();
  open_ = false;
  tracks_.clear();
  disc_.reset();
  return 0;
}

std::optional<uint32_t> TrackCdDevice::trackCount(uint16_t deviceId) {
  std::lock_guard lock(mutex_);
  if (!isOpenId(deviceId)) return std::nullopt;
  return static_cast<uint32_t>(tracks_.size());
}

std::optional<uint64_t> TrackCdDevice::discLength(uint16_t deviceId) {
  std::lock_guard lock(mutex_);
  if (!isOpenId(deviceId)) return std::nullopt;
  uint64_t total = 0;
  for (const Track& t : tracks_) total += t.frames;
  return total;
}

std::optional<uint64_t> TrackCdDevice::trackStart(uint16_t deviceId, uint32_t track) {
  std::lock_guard lock(mutex_);
  if (!isOpenId(deviceId) || track < 1 || track > tracks_.size()) return std::nullopt;
  uint64_t start = 0;
  for (uint32_t t = 1; t < track; ++t) start += tracks_[t - 1].frames;
  return start;
}

std::optional<uint64_t> TrackCdDevice::trackLength(uint16_t deviceId, uint32_t track) {
  std::lock_guard lock(mutex_);
  if (!isOpenId(deviceId) || track < 1 || track > tracks_.size()) return std::nullopt;
  return tracks_[track - 1].frames;
}

uint32_t TrackCdDevice::play(uint16_t deviceId, uint32_t from, std::optional<uint32_t> to, Window* notify) {
  {
    std::lock_guard lock(mutex_);
    if (!isOpenId(deviceId)) return kMciInvalidDeviceId;
    uint32_t count = static_cast<uint32_t>(tracks_.size());
    uint32_t end = to ? *to : count + 1;
    if (from < 1 || from > count || end <= from || end > count + 1) return kMciOutOfRange;
    if (tracks_[from - 1].frames == 0) return kMciHardware;
    postFinishedLocked();
    endPlayLocked(kNotifySuperseded);
    nextTrack_ = from;
    endTrack_ = end;
    uint32_t opened = 0;
    decoder_ = openFirst(*disc_, remainingLocked(), opened);
    if (!decoder_) return kMciHardware;  // the file went away since the disc was opened
    nextTrack_ = opened + 1;
    if (++lastPlay_ > CdRing::kPlayMask) lastPlay_ = 1;
    play_ = lastPlay_;
    ring_.markStart(play_);
    decoding_ = true;
    notify_ = notify;
  }
  wake_.notify_one();
  return 0;
}

uint32_t TrackCdDevice::stop(uint16_t deviceId) {
  std::lock_guard lock(mutex_);
  if (!isOpenId(deviceId)) return kMciInvalidDeviceId;
  stopLocked();
  return 0;
}

void TrackCdDevice::stopLocked() {
  postFinishedLocked();  // a play heard to its end is told so, not stopped
  endPlayLocked(kNotifyAborted);
}

size_t TrackCdDevice::mix(float* acc, size_t frames, float gain) { return ring_.mix(acc, frames, gain); }

void TrackCdDevice::prepare(size_t frames) {
  std::unique_lock lock(mutex_);
  postFinishedLocked();
  fill(lock, frames);
}

std::vector<uint32_t> TrackCdDevice::remainingLocked() const {
  std::vector<uint32_t> rest;
  for (uint32_t t = nextTrack_; t < endTrack_; ++t)
    if (tracks_[t - 1].frames != 0) rest.push_back(t);  // no audio: passed over
  return rest;
}

void TrackCdDevice::fill(std::unique_lock<std::mutex>& lock, size_t ahead) {
  // A null decoder_ while decoding_: another filler has it out, and fills for both.
  while (decoding_ && decoder_ && ring_.queued() < ahead) {
    const size_t n = std::min({ahead - ring_.queued(), kPieceFrames, ring_.space()});
    if (n == 0) return;  // full of what the reader has yet to take
    const uint64_t generation = generation_;
    std::unique_ptr<TrackAudio> decoder = std::move(decoder_);
    std::vector<float> piece = std::move(piece_);
    lock.unlock();
    piece.resize(2 * n);
    const size_t got = decoder->read(piece.data(), n);
    const bool ended = got < n || decoder->finished();
    lock.lock();
    piece_ = std::move(piece);
    if (generation != generation_) continue;  // a play, stop or close came meanwhile
    ring_.write(piece_.data(), got);  // n frames had space, and the reader only makes more
    if (!ended) {
      decoder_ = std::move(decoder);
      continue;
    }
    // The track is done: the next one of the range, opened with the lock let go too.
    std::vector<uint32_t> rest = remainingLocked();
    std::shared_ptr<AudioDisc> disc = disc_;  // a close meanwhile must not take it from under the filler
    lock.unlock();
    decoder.reset();
    uint32_t opened = 0;
    std::unique_ptr<TrackAudio> next = openFirst(*disc, rest, opened);
    lock.lock();
    if (generation != generation_) continue;
    if (next) {
      decoder_ = std::move(next);
      nextTrack_ = opened + 1;
    } else {
      // The end is marked as soon as the last frame is in, so that the reader knows it when
      // it mixes that frame.
      decoding_ = false;
      nextTrack_ = endTrack_;
      ring_.markEnd(play_);
    }
  }
}

void TrackCdDevice::postFinishedLocked() {
  if (play_ == 0 || decoding_ || ring_.heard() != play_) return;
  // Everything of the play has been mixed: it is over, and a notice is owed if one was asked.
  if (notify_) notify_->postNotice(kMciNotifyMessage, kNotifySuccessful, deviceId_);
  notify_ = nullptr;
  play_ = 0;
}

void TrackCdDevice::endPlayLocked(uint32_t notice) {
  ++generation_;
  if (play_ != 0) {
    if (notify_) notify_->postNotice(kMciNotifyMessage, notice, deviceId_);
    // A play number of its own that nothing is written for: the reader drops what is left.
    if (++lastPlay_ > CdRing::kPlayMask) lastPlay_ = 1;
    ring_.markStart(lastPlay_);
  }
  notify_ = nullptr;
  play_ = 0;
  decoding_ = false;
  decoder_.reset();
}

void TrackCdDevice::feederLoop() {
  std::unique_lock lock(mutex_);
  while (!quit_) {
    postFinishedLocked();
    fill(lock, kThreadAhead);
    if (quit_) break;
    if (play_ != 0)
      wake_.wait_for(lock, kThreadPeriod);
    else
      wake_.wait(lock);
  }
}

}  // namespace kelvox::platform
