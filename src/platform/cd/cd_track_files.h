// The audio tracks of a disc copied to disk: files ripped from the CD, named after their track
// number as other engines' ports accept them — track2, track02, track_2, track_02 in any letter
// case — with the extension .flac, .ogg, .wav or .mp3, also in any case (Track02.FLAC). They
// are looked for in the volume's root and then in its folders one level down (a rip kept in
// "Audio/" or "CDDA/"); the root wins, then folders in name order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>

namespace kelvox::platform {

// Tracks beyond this number are not looked at (a CD has at most 99).
inline constexpr uint32_t kMaxCdTracks = 99;

// The track number [fileName] names, or nothing when it is not a track file's name.
std::optional<uint32_t> trackNumberOf(std::string_view fileName);

// Track number → file, for the track files below [root]. Only the names are looked at: what a
// file holds is the decoder's concern.
std::map<uint32_t, std::filesystem::path> findTrackFiles(const std::filesystem::path& root);

}  // namespace kelvox::platform
