// Opening images by their extension, and finding discs in drives.
#include "platform/cd/image_disc_opener.h"

#include "platform/cd/cdio_disc.h"
#include "platform/cd/image_disc.h"

namespace kelvox::platform {

namespace {
constexpr auto kDriveLookPeriod = std::chrono::seconds(1);
}

bool ImageDiscOpener::isImageName(const std::filesystem::path& file) const {
  std::string ext = file.extension().string();
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext == ".iso" || ext == ".cue";
}

std::optional<OpenedDisc> ImageDiscOpener::open(const std::filesystem::path& image, std::string& error) {
  quietCdio();
  OpenedDisc opened;
  auto disc = openImageDisc(image, opened.label, error);
  if (!disc) return std::nullopt;
  opened.files = std::move(disc);
  return opened;
}

std::vector<std::pair<std::filesystem::path, OpenedDisc>> ImageDiscOpener::drives() {
  std::lock_guard lock(mutex_);
  auto now = std::chrono::steady_clock::now();
  if (lookedOnce_ && now - looked_ < kDriveLookPeriod) return drives_;
  lookedOnce_ = true;
  looked_ = now;
  drives_.clear();
  for (const std::string& drive : cdDrives()) {
    OpenedDisc opened;
    std::string error;
    if (auto disc = openCdioDisc(drive, false, opened.label, error)) {
      opened.files = std::move(disc);
      drives_.emplace_back(drive, std::move(opened));
    }
  }
  return drives_;
}

}  // namespace kelvox::platform
