// The recording device: the tee, the ring and the WAV file.
#include "platform/audio_recorder.h"
#include "platform/write_all.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace kelvox::platform {

namespace {

constexpr size_t kRingSamples = AudioDevice::kSampleRate * AudioDevice::kChannels * 4;  // 4 s
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36;  // what the RIFF size field can carry

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
  file_ = file;
  part_ = file;
  part_ += ".part";
  fd_ = ::open(part_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    error = part_.string() + ": " + std::strerror(errno);
    return false;
  }
  auto header = wavHeader(0);
  if (!writeAll(fd_, header.data(), header.size())) {
    error = part_.string() + ": " + std::strerror(errno);
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  dataBytes_ = 0;
  return true;
}

bool AudioRecorder::finish(std::string& error) {
  if (fd_ < 0) return true;
  drain();
  auto header = wavHeader(static_cast<uint32_t>(dataBytes_));
  bool ok = !writeFailed_ && ::pwrite(fd_, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size()) &&
            ::fsync(fd_) == 0;
  if (!ok) error = part_.string() + ": " + (writeFailed_ ? "write failed" : std::strerror(errno));
  ::close(fd_);
  fd_ = -1;
  std::error_code ec;
  if (ok) {
    std::filesystem::rename(part_, file_, ec);
    if (ec) error = file_.string() + ": " + ec.message();
    ok = !ec;
  }
  if (!ok) std::filesystem::remove(part_, ec);
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
  dropped_ += (out.size() - take) / 2;
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
  if (fd_ < 0 || writeFailed_ || count == 0) return;
  size_t bytes = count * sizeof(int16_t);
  if (dataBytes_ + bytes > kMaxDataBytes) return;  // a full file stops growing
  static_assert(std::endian::native == std::endian::little, "samples go to disk as they are in memory");
  if (!writeAll(fd_, samples, bytes)) {
    writeFailed_ = true;
    return;
  }
  dataBytes_ += bytes;
}

}  // namespace kelvox::platform
