// Reading a whole file of a disc image, bounded as host files are.
#include "platform/disc_files.h"

namespace kelvox::platform {

std::optional<std::vector<uint8_t>> DiscFiles::readWhole(const std::vector<std::string>& components,
                                                         uint64_t maxBytes, ReadFailure* failure) {
  auto fail = [&](ReadFailure::Kind kind, const char* reason) -> std::optional<std::vector<uint8_t>> {
    if (failure) *failure = {kind, reason};
    return std::nullopt;
  };
  Entry entry = find(components);
  if (entry.kind == Kind::Missing) return fail(ReadFailure::Kind::Missing, "no such file on the disc");
  if (entry.kind != Kind::File) return fail(ReadFailure::Kind::NotRegularFile, "a folder on the disc");
  if (entry.size > maxBytes) return fail(ReadFailure::Kind::TooLarge, "larger than allowed");
  std::vector<uint8_t> bytes(static_cast<size_t>(entry.size));
  size_t done = 0;
  while (done < bytes.size()) {
    size_t n = readAt(components, done, std::span(bytes).subspan(done));
    if (n == 0) return fail(ReadFailure::Kind::Unreadable, "the disc image breaks off");
    done += n;
  }
  return bytes;
}

}  // namespace kelvox::platform
