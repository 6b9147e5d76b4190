// Wording of file read failures.
#include "common/file_messages.h"

#include "platform/text_encoding.h"

namespace kelvox::common {

std::string unreadableFileText(std::string_view sjisName, const platform::ReadFailure& failure) {
  using Kind = platform::ReadFailure::Kind;
  std::string reason;
  switch (failure.kind) {
    case Kind::Missing: reason = "見つかりません"; break;
    case Kind::NotRegularFile: reason = "通常のファイルではありません"; break;
    case Kind::TooLarge: reason = "ファイルが大きすぎます"; break;
    case Kind::Unreadable: reason = failure.reason; break;
  }
  // The name goes in as it is: a game's names are Shift-JIS already.
  return platform::toSjis("ファイル ") + std::string(sjisName) + platform::toSjis(" を開けませんでした (" + reason + ")");
}

}  // namespace kelvox::common
