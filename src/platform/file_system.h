// Whole-file reading and crash-safe writing, and the few folder operations the engine needs.
// Host paths only; the engine's backslash paths go through Paths first.
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

// The bytes of [file], a regular file of at most [maxBytes]; else nullopt with [failure] set.
// Never blocks on a FIFO or a device and never reads more than [maxBytes] + 1 bytes, so a
// folder, /dev/zero or a pipe is refused at once.
std::optional<std::vector<uint8_t>> readRegularFile(const std::filesystem::path& file, uint64_t maxBytes,
                                                    ReadFailure* failure);

// The bytes of [file], or nullopt with the reason in [error] (strerror text). Regular files
// only, as readRegularFile, of any size.
std::optional<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& file, std::string* error = nullptr);

// Writes [bytes] to a temporary file beside [file], flushes it to disk and renames it over
// [file], so the old file survives any failure. False with the reason in [error].
bool writeFileAtomic(const std::filesystem::path& file, std::span<const uint8_t> bytes, std::string* error = nullptr);

bool isRegularFile(const std::filesystem::path& path);
bool isDirectory(const std::filesystem::path& path);
// Creates one folder; true if it exists afterwards.
bool createDirectory(const std::filesystem::path& path);
bool setCurrentDirectory(const std::filesystem::path& path);
// The folder of the running program (from /proc/self/exe).
std::filesystem::path executableFolder();

}  // namespace kelvox::platform
