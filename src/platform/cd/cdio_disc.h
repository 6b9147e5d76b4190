// A disc read through libcdio's device interface: a disc in a drive, or an image that one of
// libcdio's image drivers opens (BIN/CUE, cdrdao TOC, Nero). Audio tracks are read digitally
// (cdio_read_audio_sectors) and played sample for sample; the data track's ISO 9660 files are
// read through libiso9660 on the same device.
//
// Threads: one lock guards the device; audio is read a piece at a time under it, so the engine
// thread's file reads wait at most one piece.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/cd/audio_disc.h"
#include "platform/disc_files.h"

namespace kelvox::platform {

class IsoFiles;
struct CdioHandle;

class CdioDisc final : public DiscFiles, public AudioDisc {
 public:
  CdioDisc(std::shared_ptr<CdioHandle> handle, std::vector<DiscTrack> tracks, std::vector<uint32_t> starts,
           std::unique_ptr<IsoFiles> files);
  ~CdioDisc() override;

  Entry find(const std::vector<std::string>& components) override;
  size_t readAt(const std::vector<std::string>& components, uint64_t offset, std::span<uint8_t> buffer) override;
  std::vector<DiscTrack> tracks() override { return tracks_; }
  std::unique_ptr<TrackAudio> openTrack(uint32_t number) override;

 private:
  std::shared_ptr<CdioHandle> handle_;
  std::vector<DiscTrack> tracks_;
  std::vector<uint32_t> starts_;  // first sector of each track
  std::unique_ptr<IsoFiles> files_;
};

// The disc in the drive [device], or (with [image]) the image file libcdio's drivers read;
// its label in [label]. Null with why in [error]: no disc, no such drive, not an image.
std::shared_ptr<CdioDisc> openCdioDisc(const std::string& source, bool image, std::string& label, std::string& error);

// The CD-ROM drives libcdio finds on this machine.
std::vector<std::string> cdDrives();

// Keeps libcdio's own warnings about damaged discs off the terminal: the caller reports.
void quietCdio();

}  // namespace kelvox::platform
