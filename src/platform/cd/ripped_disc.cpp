// Ripped tracks as a disc.
#include "platform/cd/ripped_disc.h"

#include "platform/cd/cd_track_files.h"
#include "platform/cd/track_decoder.h"

namespace kelvox::platform {

RippedDisc::RippedDisc(const std::filesystem::path& root) : files_(findTrackFiles(root)) {
  if (files_.empty()) return;
  tracks_.resize(files_.rbegin()->first);
  for (const auto& [number, file] : files_) {
    TrackDecoder probe(file);
    tracks_[number - 1] = {probe.isOpen() && probe.frames() > 0, probe.isOpen() ? probe.frames() : 0};
  }
}

std::unique_ptr<TrackAudio> RippedDisc::openTrack(uint32_t number) {
  auto it = files_.find(number);
  if (it == files_.end()) return nullptr;
  auto decoder = std::make_unique<TrackDecoder>(it->second);
  if (!decoder->isOpen()) return nullptr;
  return decoder;
}

}  // namespace kelvox::platform
