// AtomicFile: the one way the programs replace a file. The new content goes to a temporary file
// in the target's own folder, named TARGET.tmp-XXXXXX (six letters or digits), created with
// O_EXCL | O_NOFOLLOW so that nothing already there is opened; it is written in a loop, flushed
// with fsync, renamed over the target, and the folder is flushed so that the rename itself
// survives a power cut. Until commit() renames it the target is untouched: a crash, a kill or
// a full disk leaves the old file whole, and at worst a temporary behind.
//
// Only regular files are ever replaced. A target that exists and is anything else (a symbolic
// link, a FIFO, a device, a folder, a socket) is refused by open() and checked again before the
// rename; the writer is told why in English (the callers word it for their users).
//
// Temporaries left behind by a kill are removed by removeStaleTemporaries: only regular files
// whose names follow the pattern above, in the one folder named, and only those no live writer
// holds (every AtomicFile keeps an advisory lock on its temporary while it writes).
//
// Threads: an AtomicFile belongs to the thread that uses it; different files may be written
// on different threads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace kelvox::platform {

// What is at a path now, without following a link there.
enum class PathKind { Missing, RegularFile, Folder, SymbolicLink, Fifo, CharacterDevice, Other };
PathKind pathKind(const std::filesystem::path& path);
// "a symbolic link", "a FIFO", … for messages; "" for Missing and RegularFile.
const char* describePathKind(PathKind kind);

class AtomicFile {
 public:
  explicit AtomicFile(std::filesystem::path target);
  ~AtomicFile();  // an unfinished file's temporary is removed; the target stays as it was
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Checks the target (missing or a regular file), removes the target's own stale temporaries
  // and creates a new one. False with the reason in [error] ("create: No such file or
  // directory", "replace: a FIFO is there, not a regular file").
  bool open(std::string& error);
  bool isOpen() const { return fd_ >= 0; }

  // Gives the new file exactly the permission bits [mode] (the umask aside; a new file has
  // 0644 less the umask otherwise). False on failure, which spoils the file as a write error.
  bool setMode(unsigned mode);

  // Appends [bytes]; false on a write error (the file is then spoilt: commit refuses it).
  bool write(std::span<const uint8_t> bytes);
  // Writes [bytes] at [offset] (a header whose sizes are known at the end); false on error.
  bool writeAt(uint64_t offset, std::span<const uint8_t> bytes);

  // Flushes the temporary, renames it over the target and flushes the folder. False with the
  // reason in [error]; the temporary is gone then and the old target untouched.
  bool commit(std::string& error);
  // Removes the temporary and leaves the target as it was.
  void abandon();

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& temporary() const { return temp_; }

 private:
  std::filesystem::path target_, temp_;
  int fd_ = -1;
  bool failed_ = false;
  std::string failure_;  // the first write error, for commit's message
};

// Whether [fileName] (a name without folder) is a temporary of AtomicFile's pattern; with
// [target] not empty, one of that target's own.
bool isTemporaryName(std::string_view fileName, std::string_view target = {});

// Removes from [folder] the regular files named as AtomicFile's temporaries (only [target]'s
// own when [target] is not empty) that no writer holds now. Links, FIFOs, folders and other
// names are left alone, and nothing below [folder] is looked at. Returns how many went.
size_t removeStaleTemporaries(const std::filesystem::path& folder, std::string_view target = {});

}  // namespace kelvox::platform
