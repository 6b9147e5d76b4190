// FileReader: an open descriptor read in pieces, or a disc image's file read at a moving offset.
#include "platform/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/disc_files.h"

namespace kelvox::platform {

FileReader::FileReader(const std::filesystem::path& file) {
  // O_NONBLOCK: a FIFO is seen to be one without waiting for a writer.
  fd_ = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) {
    error_ = std::string("open: ") + std::strerror(errno);
    return;
  }
  struct stat st {};
  if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    error_ = "not a regular file";
    close(fd_);
    fd_ = -1;
  }
}

FileReader::FileReader(std::shared_ptr<DiscFiles> disc, std::vector<std::string> components)
    : components_(std::move(components)) {
  if (disc->find(components_).kind != DiscFiles::Kind::File) {
    error_ = "open: no such file on the disc";
    return;
  }
  disc_ = std::move(disc);
}

FileReader::~FileReader() {
  if (fd_ >= 0) close(fd_);
}

size_t FileReader::read(std::span<uint8_t> buffer) {
  if (disc_) {
    size_t n = disc_->readAt(components_, offset_, buffer);
    offset_ += n;
    return n;
  }
  while (fd_ >= 0 && !buffer.empty()) {
    ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) {
      error_ = std::string("read: ") + std::strerror(errno);
      return 0;
    }
  }
  return 0;
}

}  // namespace kelvox::platform
