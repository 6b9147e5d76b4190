// Whole-file reading bounded by a size checked before reading, crash-safe writing (through
// AtomicFile), and the few folder operations the engine needs. Host paths only; the engine's
// backslash paths go through Paths first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelvox::platform {

// Why a file could not be read. Callers word each kind in their own messages.
struct ReadFailure {
  enum class Kind { Missing, NotRegularFile, TooLarge, Unreadable };
  Kind kind = Kind::Unreadable;
  std::string reason;  // English detail for logs (strerror text)
};

// Whether a symbolic link at the path itself is followed. The game's own data may be linked
// in (a packaged game links its pictures from elsewhere); the files the engine writes itself
// (Save\) are never links of its making, so there a link is refused, not read.
enum class Links { Follow, Refuse };

// The bytes of [file], a regular file of at most [maxBytes]; else nullopt with [failure] set.
// The size is taken from the open file before anything is read, so a file over the cap costs
// nothing; one that grows while read is cut off at [maxBytes] + 1 bytes and refused too.
// Never blocks on a FIFO or a device, so a folder, /dev/zero or a pipe is refused at once; a
// link at [file] itself is refused as NotRegularFile when [links] is Refuse.
std::optional<std::vector<uint8_t>> readRegularFile(const std::filesystem::path& file, uint64_t maxBytes,
                                                    ReadFailure* failure, Links links = Links::Follow);

// The bytes of [file], or nullopt with the reason in [error] (strerror text): readRegularFile
// with a cap of kMaxWholeFileBytes, for small files of the programs' own (profiles, settings).
// Game data is read with the cap of its kind instead.
inline constexpr uint64_t kMaxWholeFileBytes = 64u << 20;
std::optional<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& file, std::string* error = nullptr);

// Replaces [file] with [bytes] through an AtomicFile (atomic_file.h): the old file survives any
// failure, and a target that is not a regular file (a link, a FIFO, a device) is refused, not
// replaced. False with the reason in [error]. With [mode] the new file gets exactly those
// permission bits; without, 0644 less the umask.
bool writeFileAtomic(const std::filesystem::path& file, std::span<const uint8_t> bytes, std::string* error = nullptr,
                     std::optional<unsigned> mode = std::nullopt);

bool isRegularFile(const std::filesystem::path& path);
bool isDirectory(const std::filesystem::path& path);
// Creates one folder; true if it exists afterwards.
bool createDirectory(const std::filesystem::path& path);
bool setCurrentDirectory(const std::filesystem::path& path);
// The folder of the running program (from /proc/self/exe).
std::filesystem::path executableFolder();

}  // namespace kelvox::platform
