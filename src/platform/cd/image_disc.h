// A disc image: its ISO 9660 files (when it has a data track) and its audio tracks. An .iso
// file is a data track alone; a cue sheet lays out data and audio tracks over BINARY files
// (raw sectors, played without decoding) and WAVE, FLAC, Ogg, MP3 or AIFF files (decoded
// with libsndfile).
//
// Opening reads the sheet, the sizes of its BINARY files, the headers of its audio files and
// the primary volume descriptor of the data track: a large image costs no more than a small
// one. A sheet whose tracks do not fit its files is refused with the line that is wrong:
// INDEX past the end of its file, a track longer than a CD holds, a data track in an audio
// file.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/cd/audio_disc.h"
#include "platform/cd/cue_sheet.h"
#include "platform/disc_files.h"

namespace kelvox::platform {

class IsoFiles;

// A track of an image and where its sound is.
struct ImageTrack {
  DiscTrack toc;
  std::filesystem::path file;
  bool raw = true;      // raw CD-DA sectors at byte [start]; else decoded, from frame [start]
  uint64_t start = 0;
};

class ImageDisc final : public DiscFiles, public AudioDisc {
 public:
  ImageDisc(std::unique_ptr<IsoFiles> files, std::vector<ImageTrack> tracks);
  ~ImageDisc() override;

  Entry find(const std::vector<std::string>& components) override;
  size_t readAt(const std::vector<std::string>& components, uint64_t offset, std::span<uint8_t> buffer) override;
  std::vector<DiscTrack> tracks() override;
  std::unique_ptr<TrackAudio> openTrack(uint32_t number) override;

 private:
  std::unique_ptr<IsoFiles> files_;  // null: no data track
  std::vector<ImageTrack> tracks_;   // fixed once opened
};

// A track no CD holds: longer than 100 minutes.
inline constexpr uint64_t kMaxTrackSectors = 100 * 60 * 75;

// The image [file] (.iso or .cue), with its label in [label]; null with why in [error].
std::shared_ptr<ImageDisc> openImageDisc(const std::filesystem::path& file, std::string& label, std::string& error);

// The tracks of [sheet], whose files are in [folder]; nothing, with why in [error].
std::optional<std::vector<ImageTrack>> layOutCueSheet(const CueSheet& sheet, const std::filesystem::path& folder,
                                                      std::string& error);

}  // namespace kelvox::platform
