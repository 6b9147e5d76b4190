// Writing a whole buffer to a file descriptor: write(2) may take less than it was given, or be
// interrupted by a signal, so the platform's writers loop here instead of each on their own.
#pragma once

#include <cstddef>

namespace kelvox::platform {

// Writes all [size] bytes of [data] to [fd], retrying after EINTR. False on any other failure
// (a full disk, a closed descriptor); how much was written then is unknown.
bool writeAll(int fd, const void* data, size_t size);

}  // namespace kelvox::platform
