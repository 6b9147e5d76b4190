// The DiscOpener the platforms give SystemVolumes: .iso and .cue files through image_disc.h,
// and discs in the machine's drives through libcdio (looked at again at most once a second:
// Volumes are listed for every file a game opens on a disc).
#pragma once

#include <chrono>
#include <map>
#include <mutex>

#include "platform/disc_files.h"

namespace kelvox::platform {

class ImageDiscOpener final : public DiscOpener {
 public:
  bool isImageName(const std::filesystem::path& file) const override;
  std::optional<OpenedDisc> open(const std::filesystem::path& image, std::string& error) override;
  std::vector<std::pair<std::filesystem::path, OpenedDisc>> drives() override;

 private:
  std::mutex mutex_;
  std::chrono::steady_clock::time_point looked_{};
  bool lookedOnce_ = false;
  std::vector<std::pair<std::filesystem::path, OpenedDisc>> drives_;
};

}  // namespace kelvox::platform
