// The file operations that installation and removal need, in host paths (UTF-8, '/'
// separators). The class is the Linux implementation itself; tests derive from it to make
// single operations fail, which a test running as root could not otherwise arrange.
//
// Links are never followed where that could lead outside a folder: kind() and list() see a
// symbolic link as a file, and copying never writes through a final link. Callers that must
// not pass through a link on the way compare realPath() with the path they hold.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvox::platform::installer {

enum class PathKind { None, File, Folder };

// readFile() refuses anything larger: no setup file, WININIT.INI or manifest comes near it.
inline constexpr uint64_t kReadLimit = 16u << 20;  // bytes

enum class CopyResult {
  Copied,
  InUse,   // the destination is a running program (ETXTBSY): Windows' sharing violation
  Failed,  // anything else; a partly written destination is removed
};

class FileOps {
 public:
  virtual ~FileOps() = default;

  // What [path] is, without following a final symbolic link (a link is a File); a trailing
  // '/' is ignored. [followLinks] looks through links, as creating a folder path must
  // (~/Games may well be a link to another disk).
  virtual PathKind kind(const std::string& path, bool followLinks = false) const;

  // Creates one folder level (mode 0755); false if it could not.
  virtual bool makeFolder(const std::string& path);
  // Removes an empty folder; false if it could not.
  virtual bool removeFolder(const std::string& path);
  // Removes a file or a link (never a folder); false if it could not.
  virtual bool removeFile(const std::string& path);

  // Copies the regular file [from] over [to], which is truncated in place (a running program
  // gives InUse, as on Windows). The copy gets the source's permissions plus owner write, and
  // execute permission wherever it may be read when [executable]. When both name the same file
  // nothing is copied and the result is Copied: truncating would destroy the source.
  virtual CopyResult copyFile(const std::string& from, const std::string& to, bool executable);

  // Names in [folder] without "." and "..", sorted bytewise; empty if it cannot be read.
  virtual std::vector<std::string> list(const std::string& folder) const;

  // The free-space figure of the file system holding [path] or, when it does not exist yet,
  // its nearest existing parent: ⌊available blocks ÷ 10⌋ × block size, in 64 bits; 0 when it
  // cannot be determined.
  virtual uint64_t freeSpaceFigure(const std::string& path) const;

  // Whole-file read of a regular file of at most [limit] bytes (platform::readRegularFile);
  // nullopt when it is unreadable, not a regular file (a FIFO or a device is never opened for
  // reading, so it cannot hang) or larger.
  virtual std::optional<std::string> readFile(const std::string& path, uint64_t limit = kReadLimit) const;
  // Replaces [path] with [content], with exactly mode [mode], through an AtomicFile: a
  // temporary file beside it renamed over it. False (and nothing changed) on failure, and for
  // a [path] that is a link, a FIFO, a device or a folder, which is never replaced.
  virtual bool writeFile(const std::string& path, const std::string& content, unsigned mode = 0644);

  // True for a regular file someone may execute.
  virtual bool isExecutable(const std::string& path) const;

  // The absolute [path] with "." and ".." resolved and every symbolic link followed; the part
  // that does not exist yet is appended as written. A trailing '/' is kept. "" for a relative
  // path or a link loop.
  virtual std::string realPath(const std::string& path) const;
};

}  // namespace kelvox::platform::installer
