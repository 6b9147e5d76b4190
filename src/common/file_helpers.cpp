// Whole-file reading and writing by engine paths, with the file layer's errors.
#include "common/file_helpers.h"

#include <string>

#include "common/fatal_error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"

namespace kelvox::common {

std::vector<uint8_t> readAppFile(const platform::Paths& paths, std::string_view sjisName) {
  std::string error;
  auto bytes = platform::readWholeFile(paths.resolve(sjisName), &error);
  if (!bytes) {
    raiseFileError(platform::toSjis("ファイル ") + std::string(sjisName) +
                   platform::toSjis(" を開けませんでした (" + error + ")"));
  }
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
