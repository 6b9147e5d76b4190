// Track files written by the tests with libsndfile, as a player's rip would be: a constant
// level (which the mixer's output shows unchanged, so a sample tells which track played) or a
// tone, for the lossy formats that do not keep a level.
#pragma once

#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace kelvox::test {

struct TrackShape {
  int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  int rate = 44100;
  int channels = 2;
  int frames = 11025;  // a quarter of a second
  int16_t level = 1000;
  bool tone = false;   // a 441 Hz sine of amplitude [level] instead of the constant level
};

inline void writeTrack(const std::filesystem::path& file, const TrackShape& s) {
  std::filesystem::create_directories(file.parent_path());
  SF_INFO info{};
  info.samplerate = s.rate;
  info.channels = s.channels;
  info.format = s.format;
  SNDFILE* f = sf_open(file.c_str(), SFM_WRITE, &info);
  if (!f) throw std::runtime_error("cannot write " + file.string() + ": " + sf_strerror(nullptr));
  // A level as shorts, which read back as exactly level / 32768; a tone as floats, since
  // libsndfile's MP3 encoder garbles the end of a track written as shorts.
  std::vector<float> tone(s.tone ? static_cast<size_t>(s.frames) * s.channels : 0);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<float>(s.level / 32768.0 * std::sin(2 * M_PI * 441 * static_cast<double>(i / s.channels) / s.rate));
  std::vector<short> level(s.tone ? 0 : static_cast<size_t>(s.frames) * s.channels, s.level);
  s.tone ? sf_writef_float(f, tone.data(), s.frames) : sf_writef_short(f, level.data(), s.frames);
  sf_close(f);
}

}  // namespace kelvox::test
