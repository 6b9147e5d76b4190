// Disc volumes, the stand-in for GetDriveType and GetVolumeInformation. Every mounted CD-ROM
// file system (iso9660, udf) is a volume with its label; so is every folder the user names in
// KELVOX_VOLUMES=LABEL=/path:LABEL=/path, and every folder inside the game folder's Discs/,
// labelled with its own name, for discs copied to disk. With a DiscOpener, disc images count
// too: an image named in KELVOX_VOLUMES (under the label given there), every image listed in
// KELVOX_DISCS=/path/a.cue:/path/b.iso and every image in Discs/ (labelled from their primary
// volume descriptors, else by their file names), and discs in drives that nothing has mounted.
// Volumes get drive letters from 'D' upwards in the order listed (KELVOX_VOLUMES,
// KELVOX_DISCS, Discs/, mounted discs, unmounted drives), so that the engine's drive paths
// such as "Q:\Data\" keep their form.
//
// Threads: list() may be called from any thread; the images it has opened are kept, and an
// image is opened again only when its file changes.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/disc_files.h"

namespace kelvox::platform {

struct Volume {
  char letter;                  // 'd'..'z'
  std::string label;            // as the file system or the user gives it
  std::filesystem::path root;   // where its files are; for an image, the image's file
  std::shared_ptr<DiscFiles> files{};  // set when the files are in an image, not below root
  std::filesystem::path device{};      // the drive of a mounted or unmounted disc, if known
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
  // [gameFolder]: where Discs/ is looked for; empty: nowhere. [images] (may be null: no
  // images) opens disc images and finds drives.
  explicit SystemVolumes(std::filesystem::path gameFolder = {}, DiscOpener* images = nullptr)
      : gameFolder_(std::move(gameFolder)), images_(images) {}
  std::vector<Volume> list() override;
  // The images and folders the last list() passed over, with why (for --list-discs).
  std::vector<std::pair<std::filesystem::path, std::string>> problems();

 private:
  struct CachedImage {
    std::filesystem::file_time_type changed;
    uintmax_t size = 0;
    std::optional<OpenedDisc> disc;
    std::string error;
  };
  // [image] opened, or from the cache while its file is unchanged; mutex_ held.
  const CachedImage& imageLocked(const std::filesystem::path& image);

  std::filesystem::path gameFolder_;
  DiscOpener* images_;
  std::mutex mutex_;
  std::map<std::filesystem::path, CachedImage> cache_;
  std::vector<std::pair<std::filesystem::path, std::string>> problems_;
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

// The disc images in [gameFolder]'s Discs/ (any letter case) that [images] reads, sorted by
// name; names starting with '.' are not.
std::vector<std::filesystem::path> discImageFiles(const std::filesystem::path& gameFolder, const DiscOpener& images);

// Parses "/path/a.cue:/path/b.iso" (KELVOX_DISCS); empty entries are skipped.
std::vector<std::filesystem::path> parseDiscList(const std::string& text);

// Decodes the octal escapes (\040 for a space) of /proc/self/mountinfo and the \x20 escapes
// of /dev/disk/by-label names.
std::string unescapeMountField(const std::string& field);

}  // namespace kelvox::platform
