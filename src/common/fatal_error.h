// The one failure report of the engine. A FatalError carries a small numeric code and a
// Shift-JIS message; it is shown as the message followed by the code in parentheses, e.g.
// "スクリプトの不正でスタックが空になりました(67)". AppError is the common base that the
// handlers catch: it also covers the errors of the file layer (a missing script file), which
// are shown without a code, as the framework's own file errors were.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace kelvox::shell {

class AppError : public std::exception {
 public:
  explicit AppError(std::string sjisText) : text_(std::move(sjisText)) {}
  // What the message box shows (Shift-JIS).
  const std::string& displayText() const { return text_; }
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;
};

class FatalError : public AppError {
 public:
  FatalError(int code, std::string sjisMessage);
  int code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  int code_;
  std::string message_;
};

// Throws FatalError([code], [sjisMessage]).
[[noreturn]] void raiseFatal(int code, std::string sjisMessage);
// The same with a UTF-8 message, converted once here (only failure paths pay for it).
[[noreturn]] void raiseFatalUtf8(int code, std::string_view utf8Message);

// Errors of the file layer (missing or unreadable files): shown as the text alone.
[[noreturn]] void raiseFileError(std::string sjisText);

// Codes the engine adds for faults of a script that the original never checked.
inline constexpr int kCodeOutsideCode = 7;     // pc ran past the end of the code
inline constexpr int kCodeOutsideData = 9;     // data address or string outside data memory
inline constexpr int kCodeDivideByZero = 22;   // DivU, ModU, DivS, ModS by zero
inline constexpr int kCodeDivideOverflow = 23; // DivS, ModS of -2147483648 by -1

}  // namespace kelvox::shell
