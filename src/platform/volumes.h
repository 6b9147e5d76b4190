// Disc volumes, the stand-in for GetDriveType and GetVolumeInformation. Every mounted CD-ROM
// file system (iso9660, udf) is a volume with its label; so is every folder the user names in
// KELVOX_VOLUMES=LABEL=/path:LABEL=/path, and every folder inside the game folder's Discs/,
// labelled with its own name, for discs copied to disk. Volumes get drive letters from 'D'
// upwards in the order listed (KELVOX_VOLUMES, then Discs/, then mounted discs), so that the
// engine's drive paths such as "Q:\Data\" keep their form.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvox::platform {

struct Volume {
  char letter;                  // 'd'..'z'
  std::string label;            // as the file system or the user gives it
  std::filesystem::path root;   // where its files are
};

class Volumes {
 public:
  virtual ~Volumes() = default;
  // The CD-ROM volumes present now, in drive-letter order.
  virtual std::vector<Volume> list() = 0;
};

// Volumes from KELVOX_VOLUMES, the game folder's Discs/ and the mount table
// (/proc/self/mountinfo with the labels of /dev/disk/by-label).
class SystemVolumes final : public Volumes {
 public:
  // [gameFolder]: where Discs/ is looked for; empty: nowhere.
  explicit SystemVolumes(std::filesystem::path gameFolder = {}) : gameFolder_(std::move(gameFolder)) {}
  std::vector<Volume> list() override;

 private:
  std::filesystem::path gameFolder_;
};

// A fixed list, for tests and for headless runs.
class FixedVolumes final : public Volumes {
 public:
  explicit FixedVolumes(std::vector<Volume> volumes = {}) : volumes_(std::move(volumes)) {}
  std::vector<Volume> list() override { return volumes_; }

 private:
  std::vector<Volume> volumes_;
};

// Parses "LABEL=/path:LABEL=/path" into (label, path) pairs; entries without '=' are skipped.
std::vector<std::pair<std::string, std::filesystem::path>> parseVolumeList(const std::string& text);

// The discs kept in [gameFolder]'s Discs/ (any letter case): each folder in it, or link to a
// folder, is a disc labelled with the folder's name; files and names starting with '.' are
// not. Sorted by name. Nothing when there is no such folder or it cannot be read.
std::vector<std::pair<std::string, std::filesystem::path>> discFolders(const std::filesystem::path& gameFolder);

// Decodes the octal escapes (\040 for a space) of /proc/self/mountinfo and the \x20 escapes
// of /dev/disk/by-label names.
std::string unescapeMountField(const std::string& field);

}  // namespace kelvox::platform
