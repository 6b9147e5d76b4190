// Looking names up and reading files in an ISO 9660 file system, and its image files through
// libiso9660.
#include "platform/cd/iso_files.h"

#include <cdio/iso9660.h>

#include <algorithm>
#include <cstring>

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

  std::optional<std::vector<IsoEntry>> list(const std::string& path) override {
    CdioList_t* list = iso9660_ifs_readdir(iso_, path.c_str());
    if (!list) return std::nullopt;
    std::vector<IsoEntry> entries;
    for (CdioListNode_t* node = _cdio_list_begin(list); node; node = _cdio_list_node_next(node)) {
      auto* stat = static_cast<iso9660_stat_t*>(_cdio_list_node_data(node));
      std::string name = stat->filename;
      if (name == "." || name == ".." || name.empty()) continue;
      entries.push_back(entryOf(*stat));
    }
    iso9660_filelist_free(list);
    return entries;
  }

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

std::optional<IsoEntry> IsoFiles::lookupLocked(const std::vector<std::string>& components) {
  if (auto it = found_.find(components); it != found_.end()) return it->second;
  if (found_.size() >= kMaxLookups) {
    found_.clear();
    realPaths_.clear();
  }
  std::optional<IsoEntry> entry;
  std::string path = "/";
  if (components.empty()) {
    entry = source_->root();
  } else {
    std::vector<std::string> parent(components.begin(), components.end() - 1);
    std::optional<IsoEntry> folder = lookupLocked(parent);
    if (folder && folder->folder && folder->size <= kMaxIsoFolderBytes) {
      std::string parentPath = realPaths_[parent];
      if (auto entries = source_->list(parentPath.empty() ? "/" : parentPath)) {
        for (auto& e : *entries)
          if (sameName(e.name, components.back())) {
            path = (parentPath == "/" ? "" : parentPath) + "/" + e.name;
            entry = std::move(e);
            break;
          }
      }
    }
  }
  if (entry) realPaths_[components] = path;
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
