// Decoding a track file with libsndfile through its virtual I/O, and the stereo 44100 Hz
// conversion.
#include "platform/cd/track_decoder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace kelvox::platform {

namespace {

constexpr size_t kBlockFrames = 4096;           // source frames read from the file at once
constexpr int kMaxChannels = 64;                // more is no recording: refused
constexpr uint64_t kMinRate = 1000, kMaxRate = 768000;
constexpr uint64_t kMaxFrames = uint64_t{1} << 36;  // some 18 days at 44100 Hz

using Source = TrackDecoder::Source;

sf_count_t sourceLength(void* user) { return static_cast<Source*>(user)->size; }

sf_count_t sourceSeek(sf_count_t offset, int whence, void* user) {
  auto* s = static_cast<Source*>(user);
  sf_count_t base = whence == SEEK_CUR ? s->position : whence == SEEK_END ? s->size : 0;
  // Offsets that overflow or fall before the start leave the position where it was.
  sf_count_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) return -1;
  s->position = target;
  return target;
}

sf_count_t sourceRead(void* ptr, sf_count_t count, void* user) {
  auto* s = static_cast<Source*>(user);
  if (count <= 0 || s->position >= s->size) return 0;
  size_t want = static_cast<size_t>(std::min<sf_count_t>(count, s->size - s->position));
  size_t got = 0;
  if (s->fd < 0) {
    std::memcpy(ptr, s->memory.data() + s->position, want);
    got = want;
  } else {
    while (got < want) {
      ssize_t n = ::pread(s->fd, static_cast<char*>(ptr) + got, want - got, s->position + static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;  // the file shrank, or a read error: what came so far is all there is
      got += static_cast<size_t>(n);
    }
  }
  s->position += static_cast<sf_count_t>(got);
  return static_cast<sf_count_t>(got);
}

sf_count_t sourceWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t sourceTell(void* user) { return static_cast<Source*>(user)->position; }

SF_VIRTUAL_IO kSourceIo = {sourceLength, sourceSeek, sourceRead, sourceWrite, sourceTell};

float clean(float x) { return std::isfinite(x) ? std::clamp(x, -4.0f, 4.0f) : 0.0f; }

}  // namespace

TrackDecoder::TrackDecoder(const std::filesystem::path& file) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer. Regular files ignore it.
  int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error_ = std::strerror(errno);
    return;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error_ = "not a regular file";
    ::close(fd);
    return;
  }
  source_.fd = fd;
  source_.size = st.st_size;
  start();
}

TrackDecoder::TrackDecoder(std::span<const uint8_t> bytes) {
  source_.memory = bytes;
  source_.size = static_cast<int64_t>(bytes.size());
  start();
}

TrackDecoder::~TrackDecoder() {
  if (file_) sf_close(file_);
  if (source_.fd >= 0) ::close(source_.fd);
}

void TrackDecoder::start() {
  if (source_.size == 0) {
    error_ = "empty file";
    return;
  }
  SF_INFO info{};
  SNDFILE* f = sf_open_virtual(&kSourceIo, SFM_READ, &info, &source_);
  if (!f) {
    error_ = sf_strerror(nullptr);
    return;
  }
  if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate < static_cast<int>(kMinRate) ||
      static_cast<uint64_t>(info.samplerate) > kMaxRate || info.frames <= 0) {
    error_ = info.frames <= 0 ? "no sound in the file" : "not a sound this player takes";
    sf_close(f);
    return;
  }
  file_ = f;
  channels_ = info.channels;
  rate_ = static_cast<uint64_t>(info.samplerate);
  srcFrames_ = std::min<uint64_t>(static_cast<uint64_t>(info.frames), kMaxFrames);
  // Output frame k sits at source position k × rate / 44100; the last one before the end.
  outFrames_ = (srcFrames_ * kRate + rate_ - 1) / rate_;
  raw_.resize(kBlockFrames * static_cast<size_t>(channels_));
  block_.reserve((kBlockFrames + 1) * 2);
}

bool TrackDecoder::fill(uint64_t frame) {
  while (frame >= blockStart_ + block_.size() / 2) {
    uint64_t end = blockStart_ + block_.size() / 2;
    if (end >= srcFrames_) return false;
    if (!block_.empty()) {
      // The block's last frame stays: the frame after it is interpolated towards from it.
      float l = block_[block_.size() - 2], r = block_[block_.size() - 1];
      blockStart_ = end - 1;
      block_.assign({l, r});
    }
    size_t want = static_cast<size_t>(std::min<uint64_t>(kBlockFrames, srcFrames_ - end));
    sf_count_t got = sf_readf_float(file_, raw_.data(), static_cast<sf_count_t>(want));
    if (got <= 0) {
      srcFrames_ = end;  // the file breaks off here
      return false;
    }
    for (sf_count_t i = 0; i < got; ++i) {
      const float* f = raw_.data() + i * channels_;
      block_.push_back(clean(f[0]));
      block_.push_back(clean(channels_ > 1 ? f[1] : f[0]));
    }
  }
  return true;
}

size_t TrackDecoder::read(float* out, size_t frames) {
  if (!file_) return 0;
  size_t n = 0;
  while (n < frames && next_ < outFrames_) {
    uint64_t position = next_ * rate_;  // in 44100ths of a source frame
    uint64_t index = position / kRate;
    if (!fill(index)) break;
    bool hasNext = fill(index + 1);  // may move the block on, keeping [index]
    const float* a = &block_[(index - blockStart_) * 2];
    const float* b = hasNext ? a + 2 : a;
    float t = static_cast<float>(position % kRate) / kRate;
    out[2 * n] = a[0] + (b[0] - a[0]) * t;
    out[2 * n + 1] = a[1] + (b[1] - a[1]) * t;
    ++next_;
    ++n;
  }
  if (n < frames) outFrames_ = next_;  // ended, possibly early
  return n;
}

bool TrackDecoder::skip(uint64_t frames) {
  if (!file_) return false;
  uint64_t target = next_ + frames;
  // Output frame [target] is made from source frame [index] on: the block starts there.
  uint64_t index = target * rate_ / kRate;
  if (target < outFrames_ && index < srcFrames_ &&
      sf_seek(file_, static_cast<sf_count_t>(index), SEEK_SET) == static_cast<sf_count_t>(index)) {
    block_.clear();
    blockStart_ = index;
    next_ = target;
    return true;
  }
  return TrackAudio::skip(frames);
}

}  // namespace kelvox::platform
