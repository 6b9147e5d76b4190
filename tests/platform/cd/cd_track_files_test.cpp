// Finding ripped tracks by name, and decoding them into stereo 44100 Hz frames whatever their
// format, rate and channels, or refusing them cleanly.
#include "platform/cd/cd_track_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/cd/track_decoder.h"
#include "support/cd_tracks.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

TEST(CdTrackFiles, NamesOtherPortsAcceptAreTracksInAnyCase) {
  struct Case {
    const char* name;
    std::optional<uint32_t> track;
  } cases[] = {
      {"track2.flac", 2},    {"track02.ogg", 2},  {"track_2.wav", 2},  {"Track_02.MP3", 2}, {"TRACK99.Wav", 99},
      {"track002.flac", {}}, {"track0.wav", {}},  {"track_.wav", {}},  {"track2.aiff", {}}, {"track2.flac.part", {}},
      {"xtrack2.wav", {}},   {"track-2.wav", {}}, {"track1a.wav", {}}, {"track2", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(trackNumberOf(c.name), c.track) << c.name;
}

TEST(CdTrackFiles, TheRootComesFirstThenFoldersOneLevelDown) {
  test::TempDir disc;
  disc.write("Track02.wav", "x");
  disc.write("audio/track02.flac", "x");  // the root's track 2 wins
  disc.write("audio/track03.flac", "x");
  disc.write("b/track04.ogg", "x");
  disc.write("a/track04.ogg", "x");       // folders in name order: a before b
  disc.write("a/deeper/track05.wav", "x");  // two levels down: not looked at
  disc.write("readme.txt", "x");
  auto tracks = findTrackFiles(disc.path());
  std::map<uint32_t, std::filesystem::path> expected = {
      {2, disc.path() / "Track02.wav"}, {3, disc.path() / "audio/track03.flac"}, {4, disc.path() / "a/track04.ogg"}};
  EXPECT_EQ(tracks, expected);
  EXPECT_TRUE(findTrackFiles(disc.path() / "missing").empty());
}

// Every output frame of the whole track.
std::vector<float> decodeAll(TrackDecoder& d) {
  std::vector<float> out;
  float piece[2 * 1000];
  while (size_t n = d.read(piece, 1000)) out.insert(out.end(), piece, piece + 2 * n);
  return out;
}

TEST(TrackDecoder, EveryFormatRateAndChannelCountBecomesStereoAt44100) {
  test::TempDir dir;
  struct Case {
    const char* name;
    test::TrackShape shape;
    uint64_t frames;  // at 44100 Hz: ceil(frames × 44100 / rate)
    bool exact;       // a lossless format keeps the level
  } cases[] = {
      {"a.wav", {.channels = 2, .frames = 4410}, 4410, true},
      {"b.wav", {.rate = 22050, .channels = 1, .frames = 1000}, 2000, true},
      {"c.flac", {.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16, .rate = 48000, .frames = 4800}, 4410, true},
      {"d.wav", {.rate = 8000, .channels = 4, .frames = 3}, 17, true},  // 3 × 44100 / 8000 = 16.5
      {"e.ogg", {.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS, .frames = 44100, .level = 8000, .tone = true}, 44100, false},
      {"f.mp3", {.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, .frames = 44100, .level = 8000, .tone = true}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::writeTrack(dir.path() / c.name, c.shape);
    TrackDecoder d(dir.path() / c.name);
    ASSERT_TRUE(d.isOpen()) << d.error();
    auto out = decodeAll(d);
    if (c.frames) {
      EXPECT_EQ(d.frames(), c.frames);
    }
    // An encoder may pad a lossy track by a frame of its own (MP3: 1152 samples) at most.
    EXPECT_NEAR(static_cast<double>(out.size() / 2), c.shape.frames * 44100.0 / c.shape.rate, c.exact ? 1.0 : 2400.0);
    float peak = 0;
    for (float x : out) peak = std::max(peak, std::abs(x));
    float level = c.shape.level / 32768.0f;
    if (c.exact) {
      for (float x : out) ASSERT_FLOAT_EQ(x, level);
    } else {
      EXPECT_NEAR(peak, level, level * 0.2);
    }
  }
}

TEST(TrackDecoder, BadFilesAreRefusedWithoutWaiting) {
  test::TempDir dir;
  dir.write("garbage.flac", std::string(5000, '\x5A'));
  dir.write("empty.wav", "");
  std::filesystem::create_directory(dir.path() / "folder.wav");
  ASSERT_EQ(::mkfifo((dir.path() / "fifo.wav").c_str(), 0600), 0);
  for (const char* name : {"garbage.flac", "empty.wav", "folder.wav", "fifo.wav", "missing.wav"}) {
    TrackDecoder d(dir.path() / name);
    EXPECT_FALSE(d.isOpen()) << name;
    EXPECT_FALSE(d.error().empty()) << name;
    float out[4];
    EXPECT_EQ(d.read(out, 2), 0u) << name;
  }
}

TEST(TrackDecoder, ATrackThatBreaksOffEndsWhereItBreaks) {
  test::TempDir dir;
  test::writeTrack(dir.path() / "t.wav", {.frames = 10000});
  std::filesystem::resize_file(dir.path() / "t.wav", 44 + 4 * 2500);  // the header still says 10000
  TrackDecoder d(dir.path() / "t.wav");
  ASSERT_TRUE(d.isOpen());
  EXPECT_EQ(decodeAll(d).size() / 2, 2500u);
}

TEST(TrackDecoder, SamplesThatAreNoNumbersAreSilence) {
  // A float WAV of two stereo frames: NaN and infinity, then 0.5 and a level far beyond full scale.
  std::string wav("RIFF\x34\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x03\x00\x02\x00\x44\xAC\x00\x00"
                  "\x20\x62\x05\x00\x08\x00\x20\x00" "data\x10\x00\x00\x00", 44);
  for (float f : {NAN, INFINITY, 0.5f, 1e30f}) wav.append(reinterpret_cast<const char*>(&f), 4);
  TrackDecoder d(std::span(reinterpret_cast<const uint8_t*>(wav.data()), wav.size()));
  ASSERT_TRUE(d.isOpen()) << d.error();
  EXPECT_EQ(decodeAll(d), (std::vector<float>{0, 0, 0.5f, 4.0f}));
}

}  // namespace
}  // namespace kelvox::platform
