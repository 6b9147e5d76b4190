// Laying a cue sheet's tracks over its files, and opening images.
#include "platform/cd/image_disc.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/cd/iso_files.h"
#include "platform/cd/raw_track.h"
#include "platform/cd/track_decoder.h"
#include "platform/file_system.h"

namespace kelvox::platform {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The size of the regular file [file], or nothing (a FIFO, a folder, missing).
std::optional<uint64_t> regularFileSize(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

}  // namespace

ImageDisc::ImageDisc(std::unique_ptr<IsoFiles> files, std::vector<ImageTrack> tracks)
    : files_(std::move(files)), tracks_(std::move(tracks)) {}

ImageDisc::~ImageDisc() = default;

DiscFiles::Entry ImageDisc::find(const std::vector<std::string>& components) {
  return files_ ? files_->find(components) : Entry{};
}

size_t ImageDisc::readAt(const std::vector<std::string>& components, uint64_t offset, std::span<uint8_t> buffer) {
  return files_ ? files_->readAt(components, offset, buffer) : 0;
}

std::vector<DiscTrack> ImageDisc::tracks() {
  std::vector<DiscTrack> out;
  for (const auto& t : tracks_) out.push_back(t.toc);
  return out;
}

std::unique_ptr<TrackAudio> ImageDisc::openTrack(uint32_t number) {
  if (number < 1 || number > tracks_.size() || !tracks_[number - 1].toc.audio) return nullptr;
  const ImageTrack& t = tracks_[number - 1];
  if (t.raw) {
    auto raw = std::make_unique<RawTrack>(t.file, t.start, t.toc.frames);
    return raw->isOpen() ? std::move(raw) : nullptr;
  }
  auto decoder = std::make_unique<TrackDecoder>(t.file);
  if (!decoder->isOpen()) return nullptr;
  auto slice = std::make_unique<TrackSlice>(std::move(decoder), t.start, t.toc.frames);
  return slice->isOpen() ? std::move(slice) : nullptr;
}

std::optional<std::vector<ImageTrack>> layOutCueSheet(const CueSheet& sheet, const fs::path& folder,
                                                      std::string& error) {
  std::vector<ImageTrack> out(sheet.tracks.size());
  for (size_t f = 0; f < sheet.files.size(); ++f) {
    const CueSheet::File& file = sheet.files[f];
    auto fail = [&](size_t line, const std::string& why) -> std::optional<std::vector<ImageTrack>> {
      error = "line " + std::to_string(line) + ": " + why;
      return std::nullopt;
    };
    auto path = resolveCueFile(folder, file.name, error);
    if (!path) return fail(file.line, error);
    std::vector<size_t> inFile;  // the tracks that start in this file, in order
    for (size_t t = 0; t < sheet.tracks.size(); ++t)
      if (sheet.tracks[t].file == f) inFile.push_back(t);
    bool binary = file.type == CueSheet::FileType::Binary;
    // The file's length: bytes of a BINARY file, 44100 Hz frames of a sound file.
    uint64_t length = 0;
    if (binary) {
      auto size = regularFileSize(*path);
      if (!size) return fail(file.line, "FILE \"" + file.name + "\" is not a regular file");
      length = *size;
    } else {
      TrackDecoder probe(*path);
      if (!probe.isOpen()) return fail(file.line, "FILE \"" + file.name + "\" does not decode: " + probe.error());
      length = probe.frames();
    }
    // Byte (BINARY) or frame position of each track's first sector in the file.
    uint64_t base = 0;
    uint32_t baseSector = 0;
    uint32_t baseBytes = 0;
    for (size_t i = 0; i < inFile.size(); ++i) {
      const CueSheet::Track& track = sheet.tracks[inFile[i]];
      uint32_t first = track.index0.value_or(track.index1);
      uint32_t unit = binary ? sectorBytes(track.mode) : 1;
      if (!binary && track.mode != CueSheet::Mode::Audio)
        return fail(track.line, "TRACK " + std::to_string(track.number) + " is data, in a sound FILE");
      // Where this track's region begins, counted in the units of the track before it.
      base = i == 0 ? uint64_t{first} * unit : base + uint64_t{first - baseSector} * baseBytes;
      baseSector = first;
      baseBytes = unit;
      auto at = [&](uint32_t sector) { return binary ? base + uint64_t{sector - first} * unit : uint64_t{sector} * kFramesPerSector; };
      uint64_t start = at(track.index1);
      uint64_t end = length;
      if (i + 1 < inFile.size()) {
        const CueSheet::Track& next = sheet.tracks[inFile[i + 1]];
        end = std::min(length, at(next.index0.value_or(next.index1)));
      }
      if (start >= length)
        return fail(track.line, "INDEX 01 of TRACK " + std::to_string(track.number) + " lies past the end of \"" +
                                    file.name + "\"");
      uint64_t sectors = binary ? (end - start) / unit : (end - start + kFramesPerSector - 1) / kFramesPerSector;
      if (sectors > kMaxTrackSectors)
        return fail(track.line, "TRACK " + std::to_string(track.number) + " runs over 100 minutes");
      ImageTrack& out1 = out[inFile[i]];
      out1.file = *path;
      out1.raw = binary;
      out1.start = start;
      out1.toc.audio = track.mode == CueSheet::Mode::Audio && end > start;
      out1.toc.frames = binary ? sectors * kFramesPerSector : end - start;
    }
  }
  return out;
}

std::shared_ptr<ImageDisc> openImageDisc(const fs::path& file, std::string& label, std::string& error) {
  std::string ext = lower(file.extension().string());
  auto size = regularFileSize(file);
  if (!size) {
    error = "not a regular file";
    return nullptr;
  }
  if (ext == ".iso") {
    auto source = openIsoImage(file, false, label, error);
    if (!source) return nullptr;
    ImageTrack data;
    data.file = file;
    data.toc.frames = *size / kIsoBlockBytes * kFramesPerSector;
    return std::make_shared<ImageDisc>(std::make_unique<IsoFiles>(std::move(source)), std::vector<ImageTrack>{data});
  }
  if (*size > kMaxCueSheetBytes) {
    error = "larger than a cue sheet can be";
    return nullptr;
  }
  auto bytes = readWholeFile(file, &error);
  if (!bytes) return nullptr;
  auto sheet = parseCueSheet(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), error);
  if (!sheet) return nullptr;
  // A sheet linked from elsewhere (Discs/) names files beside where it really is.
  std::error_code ec;
  fs::path real = fs::weakly_canonical(file, ec);
  auto tracks = layOutCueSheet(*sheet, (ec ? file : real).parent_path(), error);
  if (!tracks) return nullptr;
  // The file system of a data track 1 that starts its BINARY file.
  std::unique_ptr<IsoFiles> files;
  label.clear();
  const CueSheet::Track& first = sheet->tracks.front();
  if (first.mode != CueSheet::Mode::Audio) {
    if (first.index0.value_or(first.index1) != 0 || sheet->files[first.file].type != CueSheet::FileType::Binary) {
      error = "line " + std::to_string(first.line) + ": the data track does not start its FILE";
      return nullptr;
    }
    auto source = openIsoImage(tracks->front().file, first.mode != CueSheet::Mode::Mode1_2048, label, error);
    if (!source) return nullptr;
    files = std::make_unique<IsoFiles>(std::move(source));
  }
  return std::make_shared<ImageDisc>(std::move(files), std::move(*tracks));
}

}  // namespace kelvox::platform
