// Whole-file reading and writing by engine paths, with the file layer's errors.
#include "common/file_helpers.h"

#include <string>

#include "common/file_errors.h"
#include "platform/atomic_file.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kelvox::common {

std::vector<uint8_t> readAppFile(const platform::Paths& paths, std::string_view sjisName, uint64_t maxBytes,
                                 platform::Links links) {
  platform::ReadFailure failure;
  auto bytes = paths.read(sjisName, maxBytes, &failure, links);
  if (!bytes) raiseUnreadable(sjisName, failure);
  return std::move(*bytes);
}

void writeAppFile(const platform::Paths& paths, std::string_view sjisName, std::span<const uint8_t> bytes) {
  std::string error;
  if (!platform::writeFileAtomic(paths.resolve(sjisName), bytes, &error))
    raiseFileError(FileError::Unwritable, sjisName, error);
}

}  // namespace kelvox::common

namespace kelvox::common {

void makeAppFolder(const platform::Paths& paths, std::string_view sjisName) {
  auto folder = paths.resolve(sjisName);
  if (!platform::isDirectory(folder) && !platform::createDirectory(folder))
    raiseFileError(FileError::FolderNotMade, sjisName);
}

void removeStaleTemporaries(const platform::Paths& paths, std::string_view sjisName) {
  platform::removeStaleTemporaries(paths.resolve(sjisName));
}

}  // namespace kelvox::common
