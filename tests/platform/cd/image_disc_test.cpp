// Cue sheets laid over their files: raw tracks read sample for sample from their sectors with
// their pregaps left out, tracks sliced from one FLAC file, and sheets that do not fit their
// files refused with the line at fault, whatever the file is (short, huge, a FIFO).
#include "platform/cd/image_disc.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/cd/iso_files.h"
#include "support/cd_tracks.h"
#include "support/disc_images.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

std::optional<std::vector<ImageTrack>> layOut(const test::TempDir& dir, const std::string& sheet, std::string& error) {
  auto cue = parseCueSheet(sheet, error);
  if (!cue) return std::nullopt;
  return layOutCueSheet(*cue, dir.path(), error);
}

// Every frame of [audio] as 16-bit levels, left and right.
std::vector<std::pair<int, int>> readAll(TrackAudio& audio) {
  std::vector<std::pair<int, int>> out;
  float piece[2 * 1000];
  while (size_t n = audio.read(piece, 1000))
    for (size_t i = 0; i < n; ++i)
      out.emplace_back(static_cast<int>(piece[2 * i] * 32768), static_cast<int>(piece[2 * i + 1] * 32768));
  return out;
}

TEST(ImageDisc, PlaysRawTracksSampleForSampleFromTheirSectors) {
  // One file: 4 data sectors of 2048 bytes, a pregap of 2 sectors at 1111, track 2 of 3
  // sectors (frame k: left k, right -k), track 3 of one sector at 3333 and half a sector more
  // that no whole sector holds.
  test::TempDir dir;
  std::string bin = std::string(4 * 2048, 'D') + test::cdFrames(2 * 588, [](size_t) { return 1111; }, [](size_t) { return 1111; }) +
                    test::cdFrames(3 * 588, [](size_t k) { return k; }, [](size_t k) { return -int(k); }) +
                    test::cdFrames(588 + 294, [](size_t) { return 3333; }, [](size_t) { return 3333; });
  dir.write("disc.bin", bin);
  std::string error;
  auto tracks = layOut(dir,
                       "FILE disc.bin BINARY\nTRACK 01 MODE1/2048\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
                       "INDEX 00 00:00:04\nINDEX 01 00:00:06\nTRACK 03 AUDIO\nINDEX 01 00:00:09\n",
                       error);
  ASSERT_TRUE(tracks) << error;
  ImageDisc disc(nullptr, *tracks);
  auto toc = disc.tracks();
  ASSERT_EQ(toc.size(), 3u);
  EXPECT_FALSE(toc[0].audio);
  EXPECT_EQ(toc[0].frames, 4u * 588);  // the data track ends where track 2's pregap starts
  EXPECT_EQ(toc[1].frames, 3u * 588);
  EXPECT_EQ(toc[2].frames, 588u);
  EXPECT_EQ(disc.openTrack(1), nullptr);
  auto two = readAll(*disc.openTrack(2));
  ASSERT_EQ(two.size(), 3u * 588);
  for (size_t k = 0; k < two.size(); ++k) ASSERT_EQ(two[k], std::make_pair(int(k), -int(k))) << k;
  auto three = readAll(*disc.openTrack(3));
  EXPECT_EQ(three, (std::vector<std::pair<int, int>>(588, {3333, 3333})));

  // A file cut short while its track plays: the track ends where the file does.
  auto playing = disc.openTrack(2);
  fs::resize_file(dir.path() / "disc.bin", 4 * 2048 + 2 * 2352 + 1000);
  EXPECT_EQ(readAll(*playing).size(), 250u);
  EXPECT_TRUE(playing->finished());
}

TEST(ImageDisc, SlicesTracksOutOfOneSoundFile) {
  test::TempDir dir;
  // 10 sectors at 1000, then 5 at 2000, in one FLAC file.
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open((dir.path() / "all.flac").c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr);
  std::vector<short> first(2 * 5880, 1000), second(2 * 2940, 2000);
  sf_writef_short(f, first.data(), 5880);
  sf_writef_short(f, second.data(), 2940);
  sf_close(f);
  std::string error;
  auto tracks = layOut(dir, "FILE all.flac FLAC\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:00:10\n", error);
  ASSERT_TRUE(tracks) << error;
  ImageDisc disc(nullptr, *tracks);
  EXPECT_EQ(readAll(*disc.openTrack(1)), (std::vector<std::pair<int, int>>(5880, {1000, 1000})));
  EXPECT_EQ(readAll(*disc.openTrack(2)), (std::vector<std::pair<int, int>>(2940, {2000, 2000})));
}

TEST(ImageDisc, RefusesSheetsThatDoNotFitTheirFiles) {
  test::TempDir dir;
  dir.write("two.bin", std::string(2 * 2352, '\0'));
  test::writeTrack(dir.path() / "short.wav", {.frames = 4410});
  ASSERT_EQ(mkfifo((dir.path() / "fifo.bin").c_str(), 0600), 0);
  // A BINARY file of 100 minutes and a sector, without the disc space.
  dir.write("huge.bin", "");
  fs::resize_file(dir.path() / "huge.bin", (kMaxTrackSectors + 1) * 2352);
  const std::string audio1 = "TRACK 01 AUDIO\nINDEX 01 00:00:00\n";
  struct Case {
    std::string sheet, error;
  } cases[] = {
      {"FILE two.bin BINARY\n" + audio1 + "TRACK 02 AUDIO\nINDEX 01 00:00:02\n",
       "line 4: INDEX 01 of TRACK 2 lies past the end of \"two.bin\""},
      {"FILE short.wav WAVE\n" + audio1 + "TRACK 02 AUDIO\nINDEX 01 00:00:08\n",
       "line 4: INDEX 01 of TRACK 2 lies past the end of \"short.wav\""},
      {"FILE short.wav WAVE\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n", "line 2: TRACK 1 is data, in a sound FILE"},
      {"FILE huge.bin BINARY\n" + audio1, "line 2: TRACK 1 runs over 100 minutes"},
      {"FILE fifo.bin BINARY\n" + audio1, "line 1: FILE \"fifo.bin\" is not a regular file"},
      {"FILE two.bin BINARY\n" + audio1 + "FILE ../two.bin BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
       "line 4: FILE \"../two.bin\" leaves the sheet's folder"},
      {"FILE two.bin WAVE\n" + audio1, "line 1: FILE \"two.bin\" does not decode: "},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(layOut(dir, c.sheet, error)) << c.sheet;
    EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.sheet;
  }
}

}  // namespace
}  // namespace kelvox::platform
