// Opening a disc of ripped tracks, playing ranges of them, and the feeder.
#include "platform/cd/track_cd_device.h"

#include <chrono>

#include "platform/cd/cd_track_files.h"
#include "platform/cd/track_decoder.h"
#include "platform/volumes.h"
#include "platform/window.h"

namespace kelvox::platform {

namespace {
constexpr size_t kThreadAhead = TrackDecoder::kRate;  // the feeder thread keeps a second ready
constexpr auto kThreadPeriod = std::chrono::milliseconds(10);

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

  auto files = findTrackFiles(disc->root);
  if (files.empty()) return kMciDeviceNotReady;
  std::vector<Track> tracks(files.rbegin()->first);
  bool anyAudio = false;
  for (const auto& [number, file] : files) {
    TrackDecoder probe(file);
    tracks[number - 1] = {file, probe.isOpen() ? probe.frames() : 0};
    anyAudio = anyAudio || tracks[number - 1].frames > 0;
  }
  if (!anyAudio) return kMciDeviceNotReady;
  tracks_ = std::move(tracks);
  open_ = true;
  if (++lastId_ == 0) ++lastId_;
  deviceId_ = deviceId = lastId_;
  return 0;
}

uint32_t TrackCdDevice::close(uint16_t deviceId) {
  std::lock_guard lock(mutex_);
  if (!isOpenId(deviceId)) return kMciInvalidDeviceId;
  postFinishedLocked();
  endPlayLocked(kNotifyAborted);
  open_ = false;
  tracks_.clear();
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
    if (!nextTrackLocked()) return kMciHardware;  // the file went away since the disc was opened
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
  postFinishedLocked();
  endPlayLocked(kNotifyAborted);
  return 0;
}

size_t TrackCdDevice::mix(float* acc, size_t frames, float gain) { return ring_.mix(acc, frames, gain); }

void TrackCdDevice::prepare(size_t frames) {
  std::lock_guard lock(mutex_);
  postFinishedLocked();
  fillLocked(frames);
}

bool TrackCdDevice::nextTrackLocked() {
  decoder_.reset();
  while (nextTrack_ < endTrack_) {
    const Track& t = tracks_[nextTrack_++ - 1];
    if (t.frames == 0) continue;  // no audio: a play to the end passes over it
    auto decoder = std::make_unique<TrackDecoder>(t.file);
    if (decoder->isOpen()) {
      decoder_ = std::move(decoder);
      return true;
    }
  }
  return false;
}

void TrackCdDevice::fillLocked(size_t ahead) {
  while (decoding_ && ring_.queued() < ahead) {
    size_t n = ahead - ring_.queued();
    float* area = ring_.writeArea(n);
    if (n == 0) return;  // full of what the reader has yet to take
    size_t got = decoder_->read(area, n);
    ring_.commit(got);
    // The end is marked with the last frame, so that the reader knows it as soon as it mixes it.
    if ((got < n || decoder_->finished()) && !nextTrackLocked()) {
      decoding_ = false;
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
    fillLocked(kThreadAhead);
    if (play_ != 0)
      wake_.wait_for(lock, kThreadPeriod);
    else
      wake_.wait(lock);
  }
}

}  // namespace kelvox::platform
