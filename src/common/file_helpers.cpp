// Whole-file reading and writing by engine paths, with the file layer's errors.
#include "common/file_helpers.h"

#include <string>

#include "common/fatal_error.h"
#include "common/file_messages.h"
#include "platform/atomic_file.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"

namespace kelvox::common {

std::vector<uint8_t> readAppFile(const platform::Paths& paths, std::string_view sjisName, uint64_t maxBytes,
                                 platform::Links links) {
  platform::ReadFailure failure;
  auto bytes = platform::readRegularFile(paths.resolve(sjisName), maxBytes, &failure, links);
  if (!bytes) raiseFileError(unreadableFileText(sjisName, failure));
  return std::move(*bytes);
}

void writeAppFile(const platform::Paths& paths, std::string_view sjisName, std::span<const uint8_t> bytes) {
  std::string error;
  if (!platform::writeFileAtomic(paths.resolve(sjisName), bytes, &error)) {
    raiseFileError(platform::toSjis("ファイル ") + std::string(sjisName) +
                   platform::toSjis(" を書き込めませんでした (" + error + ")"));
  }
}

}  // namespace kelvox::common

namespace kelvox::common {

void makeAppFolder(const platform::Paths& paths, std::string_view sjisName) {
  auto folder = paths.resolve(sjisName);
  if (!platform::isDirectory(folder) && !platform::createDirectory(folder))
    raiseFileError(platform::toSjis("フォルダ ") + std::string(sjisName) + platform::toSjis(" を作成できませんでした"));
}

void removeStaleTemporaries(const platform::Paths& paths, std::string_view sjisName) {
  platform::removeStaleTemporaries(paths.resolve(sjisName));
}

}  // namespace kelvox::common
