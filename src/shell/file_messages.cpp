// Wording of file read failures.
#include "shell/file_messages.h"

#include "platform/text_encoding.h"

namespace kelvox::shell {

std::string unreadableFileText(std::string_view name, const platform::ReadFailure& failure) {
  using Kind = platform::ReadFailure::Kind;
  std::string reason;
  switch (failure.kind) {
    case Kind::Missing: reason = "見つかりません"; break;
    case Kind::NotRegularFile: reason = "通常のファイルではありません"; break;
    case Kind::TooLarge: reason = "ファイルが大きすぎます"; break;
    case Kind::Unreadable: reason = failure.reason; break;
  }
  return platform::toSjis("ファイル " + std::string(name) + " を開けませんでした (" + reason + ")");
}

}  // namespace kelvox::shell
