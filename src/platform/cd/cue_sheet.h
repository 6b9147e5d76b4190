// Cue sheets: the text that lays a disc's tracks out over its image files. Parsed strictly:
// anything this reader does not understand is an error naming its line, never a guess.
//
//   FILE "name" BINARY|WAVE|FLAC|OGG|MP3|AIFF   a file the tracks after it lie in
//   TRACK nn AUDIO|MODE1/2048|MODE1/2352|MODE2/2352   numbers 1..99, each one more than the last
//   INDEX nn mm:ss:ff   a position in the file, in sectors (75 a second); 00 the pregap, 01
//                       the track's start (required); rising within the file
//   PREGAP/POSTGAP mm:ss:ff   silence not in the file (passed over)
//   REM, CATALOG, CDTEXTFILE, TITLE, PERFORMER, SONGWRITER, ISRC, FLAGS   read and left alone
//
// File names stay inside the sheet's folder: an absolute name or one with a ".." component is
// refused (resolveCueFile), so a sheet cannot point the player at files elsewhere.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox::platform {

struct CueSheet {
  enum class FileType { Binary, Wave, Flac, Ogg, Mp3, Aiff };
  enum class Mode { Audio, Mode1_2048, Mode1_2352, Mode2_2352 };

  struct File {
    std::string name;  // as the sheet writes it
    FileType type = FileType::Binary;
    size_t line = 0;
  };
  // Positions count sectors from the start of their file.
  struct Track {
    uint32_t number = 0;
    size_t file = 0;  // index into files: where INDEX 01 is
    Mode mode = Mode::Audio;
    uint32_t index1 = 0;
    std::optional<uint32_t> index0;  // the pregap's start, when it is in the same file
    size_t line = 0;
  };

  std::vector<File> files;
  std::vector<Track> tracks;
};

// Bytes a sector of [mode] takes in a BINARY file.
uint32_t sectorBytes(CueSheet::Mode mode);

// Larger sheets are refused: a real one is a few kilobytes.
inline constexpr size_t kMaxCueSheetBytes = 64 * 1024;

// The sheet in [text]; nothing, with "line N: why" in [error], when it is not a valid one.
std::optional<CueSheet> parseCueSheet(std::string_view text, std::string& error);

// The file [name] of a sheet in [folder]: below the folder, matched without regard to ASCII
// case when the exact name is missing. Nothing, with why in [error], for a name that leaves
// the folder or a file that is not there.
std::optional<std::filesystem::path> resolveCueFile(const std::filesystem::path& folder, std::string_view name,
                                                    std::string& error);

}  // namespace kelvox::platform
