// Building the displayed text of fatal errors from the fault table.
#include "common/fatal_error.h"

#include "platform/text_encoding.h"

namespace kelvox::common {

namespace {

// The row's message in Shift-JIS with [sjisPart] in place of its "{}".
std::string messageOf(Fault fault, std::string_view sjisPart) {
  std::string_view text = faultInfo(fault).utf8Message;
  size_t hole = text.find("{}");
  if (hole == std::string_view::npos) return platform::toSjis(text);
  return platform::toSjis(text.substr(0, hole)) + std::string(sjisPart) + platform::toSjis(text.substr(hole + 2));
}

std::string displayed(int code, const std::string& message) {
  // The code is shown from its low 8 bits as a signed number.
  int shown = static_cast<int>(static_cast<signed char>(code & 0xFF));
  return message + "(" + std::to_string(shown) + ")";
}

int codeOf(Fault fault, int given) {
  int code = faultInfo(fault).code;
  return code == kCodeFromCaller ? given : code;
}

}  // namespace

FatalError::FatalError(Fault fault, std::string_view sjisPart, int code)
    : FatalError(fault, codeOf(fault, code), messageOf(fault, sjisPart)) {}

FatalError::FatalError(Fault fault, int code, std::string message)
    : AppError(displayed(code, message)), fault_(fault), code_(code), message_(std::move(message)) {}

void raiseFatal(Fault fault, std::string_view sjisPart) { throw FatalError(fault, sjisPart); }

void raiseFatalCode(Fault fault, int code) { throw FatalError(fault, {}, code); }

void raiseFileError(std::string sjisText) { throw AppError(std::move(sjisText)); }

AppError outOfMemoryError() { return AppError(platform::toSjis(kOutOfMemoryMessage)); }

}  // namespace kelvox::common
