// The shared file helpers: the one-byte XOR scrambling of data and save files, and reading and
// writing whole files by the engine's backslash paths relative to the game folder, with the
// file-layer error that names the file when that fails.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kelvox::platform {
class Paths;
}

namespace kelvox::common {

// The file mask of Script\Data.ssb, Save\Sys and saved games.
inline constexpr uint8_t kFileMask = 0x5C;

// XORs every byte of [bytes] with kFileMask; applying it twice restores the data.
inline void scrambleBuffer(std::span<uint8_t> bytes) {
  for (auto& b : bytes) b ^= kFileMask;
}

// The bytes of the regular file [sjisName] (e.g. "Script\Code.ssb") of at most [maxBytes]; a
// missing, unreadable, non-regular or larger file raises a file error naming it, in the
// engine's words (file_errors.h). The size is checked before anything is read. With
// [links] Refuse, a symbolic link at the name is not read (the player's files in Save\).
std::vector<uint8_t> readAppFile(const platform::Paths& paths, std::string_view sjisName, uint64_t maxBytes,
                                 platform::Links links = platform::Links::Follow);

// Replaces the file [sjisName] with [bytes] through an AtomicFile, so the old file survives any
// failure and a link, FIFO or device there is never replaced; a failure raises a file error
// naming it. The folder must exist (makeAppFolder).
void writeAppFile(const platform::Paths& paths, std::string_view sjisName, std::span<const uint8_t> bytes);

// Creates the folder [sjisName] (e.g. "Save") below the game folder unless it is there, as the
// original did before writing Save\Sys; one that cannot be made raises a file error.
void makeAppFolder(const platform::Paths& paths, std::string_view sjisName);

// Removes what killed writers left in the folder [sjisName]: regular files named as AtomicFile's
// temporaries that no writer holds, and nothing else (atomic_file.h).
void removeStaleTemporaries(const platform::Paths& paths, std::string_view sjisName);

}  // namespace kelvox::common
