// The engine's file names are Windows paths in Shift-JIS: "Script\Code.ssb", "Grd\bg01.png",
// "Q:\Data\Grd\x.png". Paths maps them to host paths: relative names go below the game
// folder, drive names below that volume's root (Volumes). Every component is matched without
// regard to ASCII case against the folder's entries, first as its UTF-8 conversion, then as
// the raw bytes; a component that matches nothing keeps its UTF-8 form (for files about to
// be created). Backslashes inside double-byte characters (表 is 0x95 0x5C) do not split.
//
// A volume may be a disc image (Volume::files): its files are read in place through read,
// isFile, isFolder and openReader, which every reader of game files uses. resolve gives such a
// file a host path below the image's own file, which exists nowhere: writing there fails.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kelvox::platform {

class DiscFiles;
class FileReader;
class Volumes;

class Paths {
 public:
  explicit Paths(std::filesystem::path gameFolder, Volumes* volumes = nullptr);

  const std::filesystem::path& gameFolder() const { return gameFolder_; }
  Volumes* volumes() const { return volumes_; }

  // The host path of [sjisPath]. A drive letter without a volume resolves below a folder that
  // does not exist, so opening it fails like a missing drive.
  std::filesystem::path resolve(std::string_view sjisPath) const;

  // The file [sjisPath] wherever it is (host or disc image), as readRegularFile reads it.
  std::optional<std::vector<uint8_t>> read(std::string_view sjisPath, uint64_t maxBytes, ReadFailure* failure,
                                           Links links = Links::Follow) const;
  bool isFile(std::string_view sjisPath) const;
  bool isFolder(std::string_view sjisPath) const;
  // A reader of the file from its start; check isOpen().
  std::unique_ptr<FileReader> openReader(std::string_view sjisPath) const;

 private:
  // Where [sjisPath] is: a host path, and for a file in a disc image that image's files and the
  // components below its root.
  struct Location {
    std::filesystem::path host;
    std::shared_ptr<DiscFiles> disc;
    std::vector<std::string> components;
  };
  Location locate(std::string_view sjisPath) const;

  std::filesystem::path gameFolder_;
  Volumes* volumes_;
};

// The components of a backslash path, split only at single-byte backslashes; empty
// components (doubled or leading backslashes) are dropped.
std::vector<std::string> splitSjisPath(std::string_view path);

// True if [sjisName], a file name given by a script, stays inside the folder it is put
// under: not absolute, no drive, no ".." component, no empty name.
bool isConfinedName(std::string_view sjisName);

}  // namespace kelvox::platform
