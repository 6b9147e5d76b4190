// The ISO 9660 file system of a disc, read in place: names looked up one folder at a time
// without regard to ASCII case, and files read sector by sector. Where the sectors come from is
// an IsoSource: an image file through libiso9660 (openIsoImage) or a disc through libcdio
// (cdio_disc.h); libiso9660 finds the volume descriptors and the root (the Joliet one where the
// disc has Joliet names). The folders' records are read here (parseIsoFolder): libiso9660 2.1
// cuts Joliet names short where UTF-8 takes more bytes than UCS-2 (every kanji).
//
// Bad discs: a lookup walks only the components it is given, so loops in the directory records
// cannot make it run on; a folder larger than kMaxIsoFolderBytes is treated as missing instead
// of read; a file whose sectors lie past the end of the image reads as far as the image goes.
//
// Threads: every call takes the files' lock, so the engine thread and a listing may share one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/disc_files.h"

namespace kelvox::platform {

inline constexpr uint64_t kMaxIsoFolderBytes = 4u << 20;  // some 100 000 names
inline constexpr uint32_t kIsoBlockBytes = 2048;

struct IsoEntry {
  std::string name;   // as the disc writes it, without the ";1" version
  bool folder = false;
  uint32_t lsn = 0;   // first sector
  uint64_t size = 0;  // bytes
};

class IsoSource {
 public:
  virtual ~IsoSource() = default;
  // The root folder.
  virtual std::optional<IsoEntry> root() = 0;
  // Whether the root is the Joliet tree's (names in UCS-2).
  virtual bool joliet() = 0;
  // [count] sectors from [lsn] into [out] (count × 2048 bytes); false when they cannot be read.
  virtual bool readBlocks(uint32_t lsn, uint32_t count, uint8_t* out) = 0;
};

class IsoFiles final : public DiscFiles {
 public:
  explicit IsoFiles(std::unique_ptr<IsoSource> source) : source_(std::move(source)) {}
  Entry find(const std::vector<std::string>& components) override;
  size_t readAt(const std::vector<std::string>& components, uint64_t offset, std::span<uint8_t> buffer) override;

 private:
  // The entry [components] names; mutex_ held.
  std::optional<IsoEntry> lookupLocked(const std::vector<std::string>& components);

  std::mutex mutex_;
  std::unique_ptr<IsoSource> source_;
  std::map<std::vector<std::string>, std::optional<IsoEntry>> found_;  // lookups made, a bounded number
  std::vector<uint8_t> block_;
};

// The ISO 9660 file system in the image file [image]; [fuzzy]: the file system may sit inside
// raw 2352-byte sectors (a cue sheet's MODE1/2352 or MODE2/2352 track). Its label (the primary
// volume descriptor's volume id, without trailing spaces) in [label]. Null with why in [error].
std::unique_ptr<IsoSource> openIsoImage(const std::filesystem::path& image, bool fuzzy, std::string& label,
                                        std::string& error);

// A name as the disc writes it, without ";1" and a trailing '.' (ISO 9660 "NAME.;1").
std::string plainIsoName(std::string name);

// The entries of a folder's records [records] (its extent, whole sectors), without "." and
// "..": Joliet names (UCS-2) as UTF-8, else the Rock Ridge name where there is one, else the
// ISO 9660 name. Damaged records are passed over; nothing is read outside [records].
std::vector<IsoEntry> parseIsoFolder(std::span<const uint8_t> records, bool joliet);

}  // namespace kelvox::platform
