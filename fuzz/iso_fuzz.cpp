// The ISO 9660 reader on arbitrary images: libiso9660 opens the bytes as an image file, then
// the lookup walks the root and the folders below it and reads a little of every file it
// meets, as the engine's reads through Paths would. An image that is refused is fine; a crash,
// a read outside a buffer or a hang (loops in the directory records, huge folders) is not. The
// folder records' parser also meets the raw bytes directly.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/cd/iso_files.h"

using kelvox::platform::IsoFiles;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int fd = memfd_create("iso", MFD_CLOEXEC);
  if (fd < 0) return 0;
  size_t done = 0;
  while (done < size) {
    ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  // The folder records' parser alone, on the bytes as they come.
  kelvox::platform::parseIsoFolder(std::span(data, size), size > 0 && (data[0] & 1));
  std::string label, error;
  auto source = kelvox::platform::openIsoImage("/proc/self/fd/" + std::to_string(fd), false, label, error);
  if (source) {
    std::vector<kelvox::platform::IsoEntry> root;
    if (auto top = source->root(); top && top->size <= (64u << 10)) {
      std::vector<uint8_t> records((top->size + 2047) / 2048 * 2048);
      if (!records.empty() && source->readBlocks(top->lsn, static_cast<uint32_t>(records.size() / 2048), records.data()))
        root = kelvox::platform::parseIsoFolder(records, source->joliet());
    }
    IsoFiles files(std::move(source));
    uint8_t piece[3000];
    int visited = 0;
    for (const auto& entry : root) {
      if (++visited > 32) break;
      files.find({entry.name});
      files.readAt({entry.name}, 0, piece);
      files.readAt({entry.name}, 2047, piece);
      // One level down by the name the disc gives, twice over: a loop back to the root makes
      // these lookups no longer.
      files.find({entry.name, entry.name});
      files.find({entry.name, entry.name, entry.name});
    }
  }
  close(fd);
  return 0;
}
