// Building and raising the rows of the file-error table.
#include "common/file_errors.h"

#include "common/fatal_error.h"
#include "platform/text_encoding.h"

namespace kelvox::common {

namespace {
constexpr std::string_view kNameHole = "{}";
constexpr std::string_view kReasonHole = "{reason}";
}  // namespace

std::string fileErrorText(FileError row, std::string_view sjisName, std::string_view utf8Reason) {
  std::string_view text = fileErrorInfo(row).utf8Message;
  std::string out;
  // The message's own words are converted piece by piece between the holes; the name is not.
  while (!text.empty()) {
    size_t name = text.find(kNameHole), reason = text.find(kReasonHole);
    size_t hole = std::min(name, reason);
    out += platform::toSjis(text.substr(0, hole));
    if (hole == std::string_view::npos) break;
    if (hole == name) {
      out += sjisName;
      text.remove_prefix(hole + kNameHole.size());
    } else {
      out += platform::toSjis(utf8Reason);
      text.remove_prefix(hole + kReasonHole.size());
    }
  }
  return out;
}

void raiseFileError(FileError row, std::string_view sjisName, std::string_view utf8Reason) {
  raiseFileError(fileErrorText(row, sjisName, utf8Reason));
}

std::string readFailureReason(const platform::ReadFailure& failure) {
  using Kind = platform::ReadFailure::Kind;
  switch (failure.kind) {
    case Kind::Missing: return "見つかりません";
    case Kind::NotRegularFile: return "通常のファイルではありません";
    case Kind::TooLarge: return "ファイルが大きすぎます";
    case Kind::Unreadable: break;
  }
  return failure.reason;
}

void raiseUnreadable(std::string_view sjisName, const platform::ReadFailure& failure) {
  raiseFileError(FileError::Unreadable, sjisName, readFailureReason(failure));
}

}  // namespace kelvox::common
