// The recording device: the tee, the ring and the WAV file.
#include "platform/audio_recorder.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace kelvox::platform {

namespace {

constexpr size_t kRingSamples = AudioDevice::kSampleRate * AudioDevice::kChannels * 4;  // 4 s
constexpr uint64_t kMaxDataBytes = kStreamDataBytes;  // what the RIFF size field can carry, whole frames
constexpr size_t kStreamPendingBytes = AudioDevice::kSampleRate * 4;  // one second
constexpr int kStreamFinishMs = 2000;  // how long finish() waits for a reader to take the rest

void put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void putTag(std::vector<uint8_t>& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> wavHeader(uint32_t dataBytes) {
  std::vector<uint8_t> b;
  putTag(b, "RIFF");
  put32(b, 36 + dataBytes);
  putTag(b, "WAVE");
  putTag(b, "fmt ");
  put32(b, 16);
  put16(b, 1);  // PCM
  put16(b, AudioDevice::kChannels);
  put32(b, AudioDevice::kSampleRate);
  put32(b, AudioDevice::kSampleRate * 4);  // bytes per second
  put16(b, 4);                             // block alignment: two 16-bit samples
  put16(b, 16);
  putTag(b, "data");
  put32(b, dataBytes);
  return b;
}

AudioRecorder::AudioRecorder(AudioDevice& inner, AudioDevice* fallback)
    : inner_(inner), fallback_(fallback), engineThread_(std::this_thread::get_id()), ring_(kRingSamples), drainBuffer_(kRingSamples) {}

AudioRecorder::~AudioRecorder() {
  close();
  std::string ignored;
  finish(ignored);
}

bool AudioRecorder::start(const std::filesystem::path& file, std::string& error) {
  target_ = file;
  dataBytes_ = 0;
  writeFailed_ = false;
  PathKind kind = pathKind(file);
  if (kind == PathKind::Fifo || kind == PathKind::CharacterDevice) return startStream(file, error);
  if (kind != PathKind::Missing && kind != PathKind::RegularFile) {
    error = file.string() + ": " + describePathKind(kind) +
            " is there; a recording replaces only a regular file, or streams to a FIFO or a device";
    return false;
  }
  file_ = std::make_unique<AtomicFile>(file);
  std::string why;
  auto header = wavHeader(0);
  if (!file_->open(why) || !file_->write(header)) {
    if (why.empty()) why = std::strerror(errno);
    error = file.string() + ": " + why;
    file_.reset();
    return false;
  }
  return true;
}

bool AudioRecorder::startStream(const std::filesystem::path& file, std::string& error) {
  // A reader that goes away must end the recording with a message, not the program by SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  int fd = ::open(file.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = file.string() + ": " + (errno == ENXIO ? std::string("no program is reading the FIFO") : std::strerror(errno));
    return false;
  }
  streamFd_ = fd;
  streamPending_.clear();
  auto header = wavHeader(kStreamDataBytes);
  if (!streamOut(header.data(), header.size())) {
    error = file.string() + ": " + std::strerror(errno);
    ::close(streamFd_);
    streamFd_ = -1;
    return false;
  }
  return true;
}

bool AudioRecorder::streamOut(const uint8_t* bytes, size_t size) {
  // What waited comes first, so the stream keeps its order and its frames whole.
  auto writeSome = [&](const uint8_t* p, size_t n) -> ssize_t {
    size_t done = 0;
    while (done < n) {
      ssize_t w = ::write(streamFd_, p + done, n - done);
      if (w < 0 && errno == EINTR) continue;
      if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      if (w <= 0) return -1;
      done += static_cast<size_t>(w);
    }
    return static_cast<ssize_t>(done);
  };
  if (!streamPending_.empty()) {
    ssize_t w = writeSome(streamPending_.data(), streamPending_.size());
    if (w < 0) return false;
    streamPending_.erase(streamPending_.begin(), streamPending_.begin() + w);
  }
  size_t done = 0;
  if (streamPending_.empty()) {
    ssize_t w = writeSome(bytes, size);
    if (w < 0) return false;
    done = static_cast<size_t>(w);
  }
  // The rest waits while there is room; beyond that whole frames are dropped. [bytes] are
  // whole frames (the header is 11 of them), so only the frame a short write began must stay.
  const size_t rest = size - done;
  const size_t begun = std::min(rest, (4 - done % 4) % 4);
  const size_t room = kStreamPendingBytes > streamPending_.size() + begun ? kStreamPendingBytes - streamPending_.size() - begun : 0;
  const size_t keep = begun + std::min(rest - begun, room / 4 * 4);
  streamPending_.insert(streamPending_.end(), bytes + done, bytes + done + keep);
  dropped_.fetch_add((size - done - keep) / 4, std::memory_order_relaxed);
  return true;
}

bool AudioRecorder::finishStream(std::string& error) {
  bool ok = !writeFailed_;
  for (int waited = 0; ok && !streamPending_.empty() && waited < kStreamFinishMs; waited += 50) {
    pollfd p{streamFd_, POLLOUT, 0};
    ::poll(&p, 1, 50);
    ok = streamOut(nullptr, 0);
  }
  if (!ok) error = target_.string() + ": the reader stopped reading (" + std::strerror(errno) + ")";
  else if (!streamPending_.empty()) error = target_.string() + ": the reader did not take the end of the recording";
  ok = ok && streamPending_.empty();
  ::close(streamFd_);
  streamFd_ = -1;
  streamPending_.clear();
  return ok;
}

bool AudioRecorder::finish(std::string& error) {
  if (streamFd_ >= 0) {
    drain();
    return finishStream(error);
  }
  if (!file_) return true;
  drain();
  std::string why;
  auto header = wavHeader(static_cast<uint32_t>(dataBytes_));
  bool ok = !writeFailed_ && file_->writeAt(0, header) && file_->commit(why);
  if (!ok) {
    if (why.empty()) why = writeFailed_ ? "write failed" : std::strerror(errno);
    if (writeFailed_) file_->abandon();
    error = target_.string() + ": " + why;
  }
  file_.reset();  // an uncommitted temporary goes with it
  return ok;
}

bool AudioRecorder::open(AudioSource& source) {
  close();
  source_ = &source;
  if (inner_.open(*this)) {
    active_ = &inner_;
  } else if (fallback_ && fallback_->open(*this)) {
    active_ = fallback_;
  } else {
    source_ = nullptr;
  }
  return active_ != nullptr;
}

void AudioRecorder::close() {
  if (active_) active_->close();  // when it returns, render is called no more
  active_ = nullptr;
  source_ = nullptr;
  drain();
}

void AudioRecorder::update() {
  if (active_) active_->update();
  drain();
}

void AudioRecorder::render(std::span<int16_t> out) {
  source_->render(out);
  if (std::this_thread::get_id() == engineThread_) {
    append(out.data(), out.size());
    return;
  }
  std::lock_guard lock(ringMutex_);
  size_t room = ring_.size() - ringCount_;
  size_t take = std::min(room, out.size()) & ~size_t{1};  // whole frames
  for (size_t i = 0; i < take; ++i) ring_[(ringStart_ + ringCount_ + i) % ring_.size()] = out[i];
  ringCount_ += take;
  dropped_.fetch_add((out.size() - take) / 2, std::memory_order_relaxed);
}

void AudioRecorder::drain() {
  size_t count;
  {
    std::lock_guard lock(ringMutex_);
    count = ringCount_;
    for (size_t i = 0; i < count; ++i) drainBuffer_[i] = ring_[(ringStart_ + i) % ring_.size()];
    ringStart_ = (ringStart_ + count) % ring_.size();
    ringCount_ = 0;
  }
  append(drainBuffer_.data(), count);
}

void AudioRecorder::append(const int16_t* samples, size_t count) {
  if ((!file_ && streamFd_ < 0) || writeFailed_ || count == 0) return;
  size_t bytes = count * sizeof(int16_t);
  if (dataBytes_ + bytes > kMaxDataBytes) return;  // a full file stops growing
  static_assert(std::endian::native == std::endian::little, "samples go to disk as they are in memory");
  const auto* p = reinterpret_cast<const uint8_t*>(samples);
  if (streamFd_ >= 0 ? !streamOut(p, bytes) : !file_->write({p, bytes})) {
    writeFailed_ = true;
    return;
  }
  dataBytes_ += bytes;
}

}  // namespace kelvox::platform
