// Reading CD-DA sectors from a file, and slices of decoded tracks.
#include "platform/cd/raw_track.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kelvox::platform {

void convertCdSamples(const uint8_t* bytes, size_t frames, float* out) {
  for (size_t i = 0; i < 2 * frames; ++i) {
    auto sample = static_cast<int16_t>(static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8));
    out[i] = static_cast<float>(sample) / 32768.0f;
  }
}

RawTrack::RawTrack(const std::filesystem::path& file, uint64_t offset, uint64_t frames)
    : offset_(offset), frames_(frames) {
  fd_ = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd_);
    fd_ = -1;
  }
}

RawTrack::~RawTrack() {
  if (fd_ >= 0) ::close(fd_);
}

size_t RawTrack::read(float* out, size_t frames) {
  if (fd_ < 0) return 0;
  size_t want = static_cast<size_t>(std::min<uint64_t>(frames, frames_ - next_));
  bytes_.resize(want * 4);
  size_t got = 0;
  while (got < bytes_.size()) {
    ssize_t n = ::pread(fd_, bytes_.data() + got, bytes_.size() - got, static_cast<off_t>(offset_ + next_ * 4 + got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  size_t whole = got / 4;
  convertCdSamples(bytes_.data(), whole, out);
  next_ += whole;
  if (whole < want) frames_ = next_;  // the file breaks off: the track ends here
  return whole;
}

TrackSlice::TrackSlice(std::unique_ptr<TrackAudio> whole, uint64_t start, uint64_t length)
    : whole_(std::move(whole)), length_(length), open_(whole_->skip(start)) {}

size_t TrackSlice::read(float* out, size_t frames) {
  size_t want = static_cast<size_t>(std::min<uint64_t>(frames, length_ - next_));
  size_t got = want ? whole_->read(out, want) : 0;
  next_ += got;
  if (got < want) length_ = next_;
  return got;
}

}  // namespace kelvox::platform
