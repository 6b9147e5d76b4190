// The files of a disc that is no folder on the host: an image (.iso, .cue) or a disc in a drive,
// read in place without mounting. The core sees only this interface; the image readers live in
// platform/cd, and the platforms hand an opener to SystemVolumes.
//
// Names are the engine's: each component Shift-JIS, matched against the disc's names (Joliet
// where the disc has it, else ISO 9660 without the ";1" version) without regard to ASCII case.
//
// Threads: a disc's files may be read from the engine thread while its audio plays on the CD
// feeder; implementations keep their own state safe for that.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kelvox::platform {

class DiscFiles {
 public:
  enum class Kind { Missing, File, Folder };
  struct Entry {
    Kind kind = Kind::Missing;
    uint64_t size = 0;  // bytes, for a file
  };

  virtual ~DiscFiles() = default;
  // What [components] (below the disc's root; none: the root) names.
  virtual Entry find(const std::vector<std::string>& components) = 0;
  // Up to [buffer].size() bytes of the file [components] from byte [offset]; how many were
  // read (0 at the end, for a folder or a missing file, or on a read error).
  virtual size_t readAt(const std::vector<std::string>& components, uint64_t offset, std::span<uint8_t> buffer) = 0;

  // The whole file of at most [maxBytes], with readRegularFile's failures.
  std::optional<std::vector<uint8_t>> readWhole(const std::vector<std::string>& components, uint64_t maxBytes,
                                                ReadFailure* failure);
};

// A disc image opened for Volumes.
struct OpenedDisc {
  std::string label;                 // from the primary volume descriptor ("" when it has none)
  std::shared_ptr<DiscFiles> files;  // may be null: a disc of audio alone
};

// Opens disc images by their files' names (.iso, .cue); the platforms give SystemVolumes one.
class DiscOpener {
 public:
  virtual ~DiscOpener() = default;
  // Whether [file] names an image this opener reads (by its extension, any case).
  virtual bool isImageName(const std::filesystem::path& file) const = 0;
  // Opens [image]; nothing, with the reason in [error], when it cannot be read.
  virtual std::optional<OpenedDisc> open(const std::filesystem::path& image, std::string& error) = 0;
  // Discs in the machine's drives that no file system mount shows: (device, disc).
  virtual std::vector<std::pair<std::filesystem::path, OpenedDisc>> drives() = 0;
};

}  // namespace kelvox::platform
