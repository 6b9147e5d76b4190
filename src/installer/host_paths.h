// Paths between the configuration's Windows form and the host: Shift-JIS with backslashes
// becomes UTF-8 with '/', relative paths are confined to the folder they are relative to, names
// made from titles and captions stay single file names, and sources are found without regard
// to ASCII case, as on the Windows media the distributions come from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/installer/file_ops.h"

namespace kelvox::installer {

// Shift-JIS [text] as UTF-8 with every '\' turned into '/'. The conversion comes first, so the
// trail byte 0x5C of a double-byte character never becomes a separator.
std::string hostPath(std::string_view sjis);

// [relative] (host form) normalised below its base folder: empty and "." components dropped,
// ".." taking one component back. nullopt when it is absolute or would climb above the base.
// "" names the base itself.
std::optional<std::string> confinedPath(std::string_view relative);

// [name] as one file name: '/' becomes '_', and "", "." and ".." get a leading '_'.
std::string safeFileName(std::string_view name);

// The folder part of [path] with its trailing '/' ("" when there is no '/').
std::string folderOf(std::string_view path);
// The part after the last '/'.
std::string fileNameOf(std::string_view path);

// An absolute folder path with "." and ".." resolved lexically and a trailing '/'.
std::string normalFolder(std::string_view absolute);

// Number of UTF-8 characters in [text] (continuation bytes are not counted).
size_t utf8Length(std::string_view text);

// The host path of [relative] below [folder] (trailing '/'), each component matched without
// regard to ASCII case when the exact name does not exist. Components that match nothing are
// kept as written, so the caller's operation fails on them with its own message.
std::string findWithoutCase(const platform::installer::FileOps& files, const std::string& folder,
                            std::string_view relative);

}  // namespace kelvox::installer
