// Tracks, audio sectors and files of a disc through libcdio.
#include "platform/cd/cdio_disc.h"

#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>

#include <algorithm>
#include <cstring>

#include "platform/cd/iso_files.h"
#include "platform/cd/raw_track.h"

namespace kelvox::platform {

struct CdioHandle {
  explicit CdioHandle(CdIo_t* c) : cdio(c) {}
  ~CdioHandle() { cdio_destroy(cdio); }
  std::mutex mutex;
  CdIo_t* cdio;
};

namespace {

constexpr uint32_t kAudioReadSectors = 16;  // read at once: about a fifth of a second

void dropLog(cdio_log_level_t, const char*) {}

std::string trimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The ISO 9660 file system of a libcdio device.
class DeviceSource final : public IsoSource {
 public:
  explicit DeviceSource(std::shared_ptr<CdioHandle> handle) : handle_(std::move(handle)) {}

  std::optional<IsoEntry> root() override {
    std::lock_guard lock(handle_->mutex);
    iso9660_stat_t* stat = iso9660_fs_stat(handle_->cdio, "/");
    if (!stat) return std::nullopt;
    IsoEntry entry{"", true, static_cast<uint32_t>(stat->lsn), stat->size};
    iso9660_stat_free(stat);
    return entry;
  }

  bool joliet() override {
    std::lock_guard lock(handle_->mutex);
    return cdio_get_joliet_level(handle_->cdio) > 0;
  }

  bool readBlocks(uint32_t lsn, uint32_t count, uint8_t* out) override {
    std::lock_guard lock(handle_->mutex);
    return cdio_read_data_sectors(handle_->cdio, out, static_cast<lsn_t>(lsn), ISO_BLOCKSIZE, count) ==
           DRIVER_OP_SUCCESS;
  }

 private:
  std::shared_ptr<CdioHandle> handle_;
};

// One audio track read from the device.
class DeviceTrack final : public TrackAudio {
 public:
  DeviceTrack(std::shared_ptr<CdioHandle> handle, uint32_t start, uint64_t frames)
      : handle_(std::move(handle)), start_(start), frames_(frames) {}
  uint64_t frames() const override { return frames_; }
  bool finished() const override { return next_ >= frames_; }

  size_t read(float* out, size_t frames) override {
    size_t done = 0;
    while (done < frames && next_ < frames_) {
      if (cursor_ == have_) {
        uint64_t sector = next_ / kFramesPerSector;
        uint32_t count = static_cast<uint32_t>(
            std::min<uint64_t>(kAudioReadSectors, (frames_ + kFramesPerSector - 1) / kFramesPerSector - sector));
        sectors_.resize(size_t{count} * kRawSectorBytes);
        std::lock_guard lock(handle_->mutex);
        if (cdio_read_audio_sectors(handle_->cdio, sectors_.data(), static_cast<lsn_t>(start_ + sector), count) !=
            DRIVER_OP_SUCCESS) {
          frames_ = next_;  // unreadable: the track ends here
          break;
        }
        cursor_ = next_ % kFramesPerSector;
        have_ = size_t{count} * kFramesPerSector;
      }
      size_t n = std::min({frames - done, have_ - cursor_, static_cast<size_t>(frames_ - next_)});
      convertCdSamples(sectors_.data() + cursor_ * 4, n, out + 2 * done);
      cursor_ += n;
      next_ += n;
      done += n;
    }
    return done;
  }

 private:
  std::shared_ptr<CdioHandle> handle_;
  uint32_t start_;
  uint64_t frames_;
  uint64_t next_ = 0;
  std::vector<uint8_t> sectors_;
  size_t cursor_ = 0, have_ = 0;  // frames of sectors_ used, and held
};

}  // namespace

void quietCdio() {
  static std::once_flag once;
  std::call_once(once, [] { cdio_log_set_handler(dropLog); });
}

CdioDisc::CdioDisc(std::shared_ptr<CdioHandle> handle, std::vector<DiscTrack> tracks, std::vector<uint32_t> starts,
                   std::unique_ptr<IsoFiles> files)
    : handle_(std::move(handle)), tracks_(std::move(tracks)), starts_(std::move(starts)), files_(std::move(files)) {}

CdioDisc::~CdioDisc() = default;

DiscFiles::Entry CdioDisc::find(const std::vector<std::string>& components) {
  return files_ ? files_->find(components) : Entry{};
}

size_t CdioDisc::readAt(const std::vector<std::string>& components, uint64_t offset, std::span<uint8_t> buffer) {
  return files_ ? files_->readAt(components, offset, buffer) : 0;
}

std::unique_ptr<TrackAudio> CdioDisc::openTrack(uint32_t number) {
  if (number < 1 || number > tracks_.size() || !tracks_[number - 1].audio) return nullptr;
  return std::make_unique<DeviceTrack>(handle_, starts_[number - 1], tracks_[number - 1].frames);
}

std::shared_ptr<CdioDisc> openCdioDisc(const std::string& source, bool image, std::string& label, std::string& error) {
  quietCdio();
  CdIo_t* cdio = cdio_open(source.c_str(), image ? DRIVER_UNKNOWN : DRIVER_DEVICE);
  if (!cdio) {
    error = source + ": no disc libcdio can read";
    return nullptr;
  }
  auto handle = std::make_shared<CdioHandle>(cdio);
  track_t first = cdio_get_first_track_num(cdio);
  track_t count = cdio_get_num_tracks(cdio);
  if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 || first + count - 1 > 99) {
    error = source + ": no tracks on the disc";
    return nullptr;
  }
  std::vector<DiscTrack> tracks(first + count - 1u);
  std::vector<uint32_t> starts(tracks.size());
  bool data = false;
  for (track_t t = first; t < first + count; ++t) {
    lsn_t lsn = cdio_get_track_lsn(cdio, t);
    unsigned sectors = cdio_get_track_sec_count(cdio, t);
    if (lsn == CDIO_INVALID_LSN || lsn < 0) continue;
    bool audio = cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO;
    data = data || !audio;
    starts[t - 1] = static_cast<uint32_t>(lsn);
    tracks[t - 1] = {audio && sectors > 0, uint64_t{sectors} * kFramesPerSector};
  }
  std::unique_ptr<IsoFiles> files;
  label.clear();
  if (data && iso9660_fs_read_superblock(cdio, ISO_EXTENSION_JOLIET)) {
    iso9660_pvd_t pvd;
    if (iso9660_fs_read_pvd(cdio, &pvd))
      if (char* id = iso9660_get_volume_id(&pvd)) {
        label = trimRight(id);
        free(id);
      }
    files = std::make_unique<IsoFiles>(std::make_unique<DeviceSource>(handle));
  }
  return std::make_shared<CdioDisc>(std::move(handle), std::move(tracks), std::move(starts), std::move(files));
}

std::vector<std::string> cdDrives() {
  quietCdio();
  std::vector<std::string> drives;
  char** list = cdio_get_devices(DRIVER_DEVICE);
  if (!list) return drives;
  for (char** d = list; *d; ++d) drives.emplace_back(*d);
  cdio_free_device_list(list);
  return drives;
}

}  // namespace kelvox::platform
