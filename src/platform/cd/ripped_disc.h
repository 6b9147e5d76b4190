// A disc copied to disk with its audio ripped to files (cd_track_files.h): its tracks run from
// 1 to the highest track number with a file; a track whose file is missing or does not decode
// has no audio, as the data track of a mixed-mode disc has none. Every file is opened once,
// when the disc is, for its length.
#pragma once

#include <filesystem>
#include <map>

#include "platform/cd/audio_disc.h"

namespace kelvox::platform {

class RippedDisc final : public AudioDisc {
 public:
  explicit RippedDisc(const std::filesystem::path& root);
  std::vector<DiscTrack> tracks() override { return tracks_; }
  std::unique_ptr<TrackAudio> openTrack(uint32_t number) override;

 private:
  std::map<uint32_t, std::filesystem::path> files_;
  std::vector<DiscTrack> tracks_;
};

}  // namespace kelvox::platform
