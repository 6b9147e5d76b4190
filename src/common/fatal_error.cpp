// Building the displayed text of fatal errors.
#include "shell/fatal_error.h"

#include "platform/text_encoding.h"

namespace kelvox::shell {

namespace {
std::string displayed(int code, const std::string& message) {
  // The code is shown from its low 8 bits as a signed number.
  int shown = static_cast<int>(static_cast<signed char>(code & 0xFF));
  return message + "(" + std::to_string(shown) + ")";
}
}  // namespace

FatalError::FatalError(int code, std::string sjisMessage)
    : AppError(displayed(code, sjisMessage)), code_(code), message_(std::move(sjisMessage)) {}

void raiseFatal(int code, std::string sjisMessage) { throw FatalError(code, std::move(sjisMessage)); }

void raiseFatalUtf8(int code, std::string_view utf8Message) {
  throw FatalError(code, platform::toSjis(utf8Message));
}

void raiseFileError(std::string sjisText) { throw AppError(std::move(sjisText)); }

}  // namespace kelvox::shell
