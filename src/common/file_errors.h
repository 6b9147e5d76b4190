// Every file error of the game, one row each: name, message. A file error is shown as its text
// alone, without a code, as the framework's own file errors were (fatal_error.h). In a message
// "{}" stands for the file's name, which goes in as it is (a game's names are Shift-JIS
// already), and "{reason}" for the detail the raising site gives in UTF-8 (why a file could not
// be read or written), converted like the rest of the text.
//
// This table sits beside the fault table (faults.h); each row is raised through
// raiseFileError(FileError, …), or, for the one warning, built by fileErrorText.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace kelvox::common {

// X(name, UTF-8 message)
#define KELVOX_FILE_ERRORS(X)                                                                         \
  /* reading and writing the engine's files */                                                        \
  X(Unreadable, "ファイル {} を開けませんでした ({reason})")                                          \
  X(Unwritable, "ファイル {} を書き込めませんでした ({reason})")                                      \
  X(FolderNotMade, "フォルダ {} を作成できませんでした")                                              \
  X(EmptyScript, "ファイル {} が空です")                                                              \
  /* names a script gives */                                                                          \
  X(NameRefused, "ファイル名 {} は使えません")                                                        \
  X(StackFileMissing, "ファイル {} が開けません")                                                     \
  X(FlagNotStorable, "フラグ名 {} は改行を含むため記録できません")                                    \
  /* the warning at start: Save\Sys is there and cannot be read, so it is kept as it is */           \
  X(SystemFileKept, "ファイル {} を開けませんでした ({reason})\r\n今回の既読と記録は保存されません")

enum class FileError {
#define KELVOX_FILE_ERROR_ENUM(name, message) name,
  KELVOX_FILE_ERRORS(KELVOX_FILE_ERROR_ENUM)
#undef KELVOX_FILE_ERROR_ENUM
};

struct FileErrorInfo {
  std::string_view name;
  std::string_view utf8Message;
};

inline constexpr FileErrorInfo kFileErrors[] = {
#define KELVOX_FILE_ERROR_INFO(name, message) {#name, message},
    KELVOX_FILE_ERRORS(KELVOX_FILE_ERROR_INFO)
#undef KELVOX_FILE_ERROR_INFO
};
inline constexpr size_t kFileErrorCount = sizeof(kFileErrors) / sizeof(kFileErrors[0]);

constexpr const FileErrorInfo& fileErrorInfo(FileError row) { return kFileErrors[static_cast<size_t>(row)]; }

// The Shift-JIS text of [row] with [sjisName] for "{}" and [utf8Reason] for "{reason}".
std::string fileErrorText(FileError row, std::string_view sjisName, std::string_view utf8Reason = {});

// Throws the file error of [row] (an AppError: shown as its text, without a code).
[[noreturn]] void raiseFileError(FileError row, std::string_view sjisName, std::string_view utf8Reason = {});

// Why a file could not be read, in the engine's words where the player can act on it (missing,
// not a file, too large) and in the system's otherwise: the reason of an Unreadable row.
std::string readFailureReason(const platform::ReadFailure& failure);

// raiseFileError(Unreadable) for [sjisName] that failed as [failure] says.
[[noreturn]] void raiseUnreadable(std::string_view sjisName, const platform::ReadFailure& failure);

}  // namespace kelvox::common
