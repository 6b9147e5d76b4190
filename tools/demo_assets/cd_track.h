// The disc's audio track: the ending theme rendered to 44100 Hz stereo with plucked strings, an
// electric-piano melody, a soft pad and a bass, through a small room reverb, and written with
// libsndfile as Ogg Vorbis (the file a player would have ripped from the game's CD).
#pragma once

#include <filesystem>
#include <string>

#include "music.h"

namespace kelvox::demo {

constexpr int kTrackRate = 44100;

// Interleaved stereo samples (-1..1) of [piece], with [tailSeconds] of fading reverb after it.
std::vector<float> renderTrack(const Piece& piece, float tailSeconds);

bool writeOggTrack(const std::filesystem::path& file, const std::vector<float>& stereo, std::string& error);

}  // namespace kelvox::demo
