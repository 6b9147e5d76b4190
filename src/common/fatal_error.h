// The one failure report of the engine. A FatalError carries a row of the fault table
// (faults.h): a small numeric code and a Shift-JIS message, shown as the message followed by
// the code in parentheses, e.g. "スクリプトの不正でスタックが空になりました(67)". AppError is
// the common base that the handlers catch: it also covers the errors of the file layer (a
// missing script file), which are shown without a code, as the framework's own file errors
// were. Nothing below the shell shows an error: the engine raises or reports, the shell shows.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "common/faults.h"

namespace kelvox::common {

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
  // The error of [fault]; [sjisPart] fills the "{}" of its message (if it has one), and
  // [code] stands for a row whose code the caller gives.
  explicit FatalError(Fault fault, std::string_view sjisPart = {}, int code = kCodeFromCaller);
  Fault fault() const { return fault_; }
  int code() const { return code_; }
  // The message without the code (Shift-JIS).
  const std::string& message() const { return message_; }

 private:
  FatalError(Fault fault, int code, std::string message);
  Fault fault_;
  int code_;
  std::string message_;
};

// Throws FatalError([fault]); [sjisPart] fills the "{}" of its message.
[[noreturn]] void raiseFatal(Fault fault, std::string_view sjisPart = {});
// The same for a row whose code the raising site gives ([code]; only EffectDepth today).
[[noreturn]] void raiseFatalCode(Fault fault, int code);

// Throws the file layer's error of the finished [sjisText], shown as the text alone. Engine
// code raises a row of the file-error table instead (file_errors.h), which comes here.
[[noreturn]] void raiseFileError(std::string sjisText);

// The error shown when memory runs out anywhere: the words of faults 11 and 12, without a code.
AppError outOfMemoryError();

// A report the player reads as a warning: the game goes on as it was.
class AppWarning : public AppError {
 public:
  using AppError::AppError;
};

// Where an error goes that must be shown without stopping the work that met it (a system file
// that cannot be written at teardown). The shell's report shows the box: the stop icon for an
// error, the warning icon for an AppWarning.
using ErrorReport = std::function<void(const AppError&)>;

}  // namespace kelvox::common
