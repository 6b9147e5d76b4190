// Looking names up and reading files in an ISO 9660 file system, and its image files through
// libiso9660.
#include "platform/cd/iso_files.h"

#include <cdio/iso9660.h>

#include <algorithm>
#include <cstring>

#include "platform/cd/cdio_disc.h"
#include "platform/text_encoding.h"

namespace kelvox::platform {

namespace {

constexpr size_t kMaxLookups = 4096;      // remembered before the memory is cleared
constexpr uint32_t kReadBlocks = 16;      // sectors read at once: 32 KiB
constexpr uint16_t kFuzz = 64;            // how far libiso9660 looks for the descriptor's signature

bool sameName(const std::string& diskName, const std::string& sjisComponent) {
  std::string utf8 = sjisToUtf8(sjisComponent);
  auto same = [](const std::string& a, const std::string& b) { return a.size() == b.size() && sjisCompareNoCase(a, b) == 0; };
  return same(diskName, utf8) || same(diskName, sjisComponent);
}

std::string trimRight(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

IsoEntry entryOf(const iso9660_stat_t& stat) {
  return {plainIsoName(stat.filename), stat.type == iso9660_stat_t::_STAT_DIR, static_cast<uint32_t>(stat.lsn),
          stat.size};
}

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// UCS-2 big-endian as UTF-8 (a lone surrogate half is kept as its own code point).
std::string ucs2ToUtf8(const uint8_t* p, size_t bytes) {
  std::string out;
  for (size_t i = 0; i + 1 < bytes; i += 2) {
    unsigned c = static_cast<unsigned>(p[i] << 8 | p[i + 1]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The Rock Ridge name in a record's system use area [p, p + bytes), or "".
std::string rockRidgeName(const uint8_t* p, size_t bytes) {
  std::string name;
  for (size_t at = 0; at + 4 <= bytes;) {
    size_t length = p[at + 2];
    if (length < 4 || at + length > bytes) break;
    // NM: flags, then the name's bytes; flags 2 and 4 name "." and "..".
    if (p[at] == 'N' && p[at + 1] == 'M' && length >= 5 && (p[at + 4] & 0x06) == 0)
      name.append(reinterpret_cast<const char*>(p + at + 5), length - 5);
    at += length;
  }
  return name;
}

// An image file read through libiso9660.
class ImageSource final : public IsoSource {
 public:
  explicit ImageSource(iso9660_t* iso) : iso_(iso) {}
  ~ImageSource() override { iso9660_close(iso_); }

  std::optional<IsoEntry> root() override {
    iso9660_stat_t* stat = iso9660_ifs_stat(iso_, "/");
    if (!stat) return std::nullopt;
    IsoEntry entry = entryOf(*stat);
    entry.folder = true;
    iso9660_stat_free(stat);
    return entry;
  }

  bool joliet() override { return iso9660_ifs_get_joliet_level(iso_) > 0; }

  bool readBlocks(uint32_t lsn, uint32_t count, uint8_t* out) override {
    long got = iso9660_iso_seek_read(iso_, out, static_cast<lsn_t>(lsn), count);
    return got == static_cast<long>(count) * kIsoBlockBytes;
  }

 private:
  iso9660_t* iso_;
};

}  // namespace

std::string plainIsoName(std::string name) {
  if (size_t semi = name.rfind(';'); semi != std::string::npos && semi + 1 < name.size() &&
                                      std::all_of(name.begin() + static_cast<long>(semi) + 1, name.end(),
                                                  [](char c) { return c >= '0' && c <= '9'; }))
    name.erase(semi);
  if (!name.empty() && name.back() == '.') name.pop_back();
  return name;
}

std::vector<IsoEntry> parseIsoFolder(std::span<const uint8_t> records, bool joliet) {
  std::vector<IsoEntry> entries;
  for (size_t at = 0; at < records.size();) {
    const size_t sectorEnd = (at / kIsoBlockBytes + 1) * kIsoBlockBytes;
    const uint8_t* r = records.data() + at;
    size_t length = r[0];
    // A record never crosses a sector: a 0 (or one that would) ends the sector's records.
    if (length < 34 || at + length > std::min(sectorEnd, records.size())) {
      at = sectorEnd;
      continue;
    }
    at += length;
    size_t nameBytes = r[32];
    if (33 + nameBytes > length) continue;
    const uint8_t* name = r + 33;
    if (nameBytes == 1 && name[0] <= 1) continue;  // "." and ".."
    IsoEntry entry;
    entry.folder = (r[25] & 0x02) != 0;
    entry.lsn = le32(r + 2);
    entry.size = le32(r + 10);
    if (joliet) {
      entry.name = plainIsoName(ucs2ToUtf8(name, nameBytes));
    } else {
      size_t systemUse = 33 + nameBytes + (nameBytes % 2 == 0 ? 1 : 0);
      if (systemUse <= length) entry.name = rockRidgeName(r + systemUse, length - systemUse);
      if (entry.name.empty()) entry.name = plainIsoName(std::string(reinterpret_cast<const char*>(name), nameBytes));
    }
    if (!entry.name.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<IsoEntry> IsoFiles::lookupLocked(const std::vector<std::string>& components) {
  if (auto it = found_.find(components); it != found_.end()) return it->second;
  if (found_.size() >= kMaxLookups) found_.clear();
  std::optional<IsoEntry> entry;
  if (components.empty()) {
    entry = source_->root();
  } else {
    std::optional<IsoEntry> folder = lookupLocked(std::vector<std::string>(components.begin(), components.end() - 1));
    uint64_t sectors = folder ? (folder->size + kIsoBlockBytes - 1) / kIsoBlockBytes : 0;
    if (folder && folder->folder && folder->size <= kMaxIsoFolderBytes && folder->lsn + sectors <= UINT32_MAX) {
      std::vector<uint8_t> records(sectors * kIsoBlockBytes);
      if (sectors && source_->readBlocks(folder->lsn, static_cast<uint32_t>(sectors), records.data())) {
        records.resize(folder->size);
        for (auto& e : parseIsoFolder(records, source_->joliet()))
          if (sameName(e.name, components.back())) {
            entry = std::move(e);
            break;
          }
      }
    }
  }
  found_[components] = entry;
  return entry;
}

DiscFiles::Entry IsoFiles::find(const std::vector<std::string>& components) {
  std::lock_guard lock(mutex_);
  auto entry = lookupLocked(components);
  if (!entry) return {};
  return {entry->folder ? Kind::Folder : Kind::File, entry->folder ? 0 : entry->size};
}

size_t IsoFiles::readAt(const std::vector<std::string>& components, uint64_t offset, std::span<uint8_t> buffer) {
  std::lock_guard lock(mutex_);
  auto entry = lookupLocked(components);
  if (!entry || entry->folder || offset >= entry->size || buffer.empty()) return 0;
  uint64_t want = std::min<uint64_t>(buffer.size(), entry->size - offset);
  uint64_t first = offset / kIsoBlockBytes;
  uint64_t last = (offset + want - 1) / kIsoBlockBytes;
  uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(last - first + 1, kReadBlocks));
  uint64_t lsn = entry->lsn + first;
  if (lsn + count > UINT32_MAX) return 0;
  block_.resize(size_t{count} * kIsoBlockBytes);
  if (!source_->readBlocks(static_cast<uint32_t>(lsn), count, block_.data())) {
    // At the image's end: one sector at a time, as far as it goes.
    count = 1;
    if (!source_->readBlocks(static_cast<uint32_t>(lsn), 1, block_.data())) return 0;
  }
  uint64_t skip = offset - first * kIsoBlockBytes;
  size_t n = static_cast<size_t>(std::min<uint64_t>(want, uint64_t{count} * kIsoBlockBytes - skip));
  std::memcpy(buffer.data(), block_.data() + skip, n);
  return n;
}

std::unique_ptr<IsoSource> openIsoImage(const std::filesystem::path& image, bool fuzzy, std::string& label,
                                        std::string& error) {
  quietCdio();
  iso9660_t* iso = fuzzy ? iso9660_open_fuzzy_ext(image.c_str(), ISO_EXTENSION_JOLIET, kFuzz)
                         : iso9660_open_ext(image.c_str(), ISO_EXTENSION_JOLIET);
  if (!iso) {
    error = "no ISO 9660 file system in " + image.filename().string();
    return nullptr;
  }
  iso9660_pvd_t pvd;
  label.clear();
  if (iso9660_ifs_read_pvd(iso, &pvd)) {
    if (char* id = iso9660_get_volume_id(&pvd)) {
      label = trimRight(id);
      free(id);
    }
  }
  return std::make_unique<ImageSource>(iso);
}

}  // namespace kelvox::platform
