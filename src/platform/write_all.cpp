// The write loop shared by the platform's file writers.
#include "platform/write_all.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace kelvox::platform {

bool writeAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace kelvox::platform
