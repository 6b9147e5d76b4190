// The CD-audio device over a folder of generated tracks: plays of one track and to the end of
// the disc (passing over tracks without audio), the plays it refuses, the notices each way a
// play can end, and the feeder on prepare (headless) and on its own thread (in a window).
#include "platform/cd/track_cd_device.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_window.h"
#include "platform/volumes.h"
#include "support/cd_tracks.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

// A disc in drive q: with tracks 2 (0.25 s at level 2000), 3 (damaged), 4 (0.1 s at 4000) and
// 5 (0.1 s at 5000); track 1 is the data track, with no file.
struct Disc {
  Disc() {
    test::writeTrack(dir.path() / "track02.wav", {.frames = 11025, .level = 2000});
    dir.write("track03.wav", "RIFF and nothing more");
    test::writeTrack(dir.path() / "track04.flac", {.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16, .frames = 4410, .level = 4000});
    test::writeTrack(dir.path() / "track05.wav", {.rate = 22050, .channels = 1, .frames = 2205, .level = 5000});
  }
  // Pulls [frames] frames as the headless device does (prepare, then mix, in pieces of 256)
  // and returns the left channel as 16-bit levels.
  std::vector<int> pull(size_t frames) {
    std::vector<int> left;
    float acc[2 * 256];
    for (size_t done = 0; done < frames; done += 256) {
      size_t n = std::min<size_t>(256, frames - done);
      device.prepare(n);
      std::fill_n(acc, 2 * n, 0.0f);
      device.mix(acc, n, 1.0f);
      for (size_t i = 0; i < n; ++i) left.push_back(static_cast<int>(std::lround(acc[2 * i] * 32768)));
    }
    return left;
  }
  std::vector<uint32_t> notices() {
    std::vector<WindowEvent> events;
    window.pumpEvents(events);
    std::vector<uint32_t> out;
    for (const auto& e : events)
      if (e.kind == WindowEvent::Kind::Notice && e.message == kMciNotifyMessage) out.push_back(e.wParam);
    return out;
  }

  test::TempDir dir;
  FixedVolumes volumes{{{'d', "OTHER", "/nonexistent"}, {'q', "ZARVETH", dir.path()}}};
  TrackCdDevice device{&volumes, TrackCdDevice::Feeding::OnPrepare};
  HeadlessWindow window;
};

// How many samples of [levels] equal [level].
size_t count(const std::vector<int>& levels, int level) { return std::count(levels.begin(), levels.end(), level); }

TEST(TrackCdDevice, APlayEndsWhereTheNextTrackStartsOrAtTheEndOfTheDisc) {
  struct Case {
    uint32_t from;
    std::optional<uint32_t> to;
    size_t at2000, at4000, at5000;
  } cases[] = {
      {2, 3, 11025, 0, 0},
      {2, std::nullopt, 11025, 4410, 4410},  // passes over track 3, which has no audio
      {4, 5, 0, 4410, 0},
      {5, std::nullopt, 0, 0, 4410},
  };
  for (const Case& c : cases) {
    Disc disc;
    uint16_t id = 0;
    ASSERT_EQ(disc.device.open("q:", id), 0u);
    ASSERT_EQ(disc.device.play(id, c.from, c.to, &disc.window), 0u);
    auto heard = disc.pull(30000);
    EXPECT_EQ(count(heard, 2000), c.at2000) << c.from;
    EXPECT_EQ(count(heard, 4000), c.at4000) << c.from;
    EXPECT_EQ(count(heard, 5000), c.at5000) << c.from;
    EXPECT_EQ(count(heard, 0), 30000 - c.at2000 - c.at4000 - c.at5000) << c.from;
    EXPECT_EQ(disc.notices(), std::vector<uint32_t>{kNotifySuccessful}) << c.from;
  }
}

TEST(TrackCdDevice, ANoticeTellsHowThePlayEnded) {
  Disc disc;
  uint16_t id = 0;
  ASSERT_EQ(disc.device.open("q:", id), 0u);
  EXPECT_EQ(disc.device.open("q:", id), kMciMustUseShareable);
  EXPECT_EQ(disc.device.play(id, 6, std::nullopt, &disc.window), kMciOutOfRange);
  EXPECT_EQ(disc.device.play(id, 3, 4, &disc.window), kMciHardware);  // no audio in a damaged file
  // Heard to its end; the notice comes with the next pull, once the last frame has been mixed.
  disc.device.play(id, 4, 5, &disc.window);
  disc.pull(4410);
  EXPECT_TRUE(disc.notices().empty());
  disc.pull(1);
  EXPECT_EQ(disc.notices(), std::vector<uint32_t>{kNotifySuccessful});
  // Replaced by another play, which stop then ends; what was left of the first is not heard.
  disc.device.play(id, 2, 3, &disc.window);
  disc.pull(1000);
  disc.device.play(id, 5, std::nullopt, &disc.window);
  auto heard = disc.pull(1000);
  EXPECT_EQ(count(heard, 5000), 1000u);
  disc.device.stop(id);
  EXPECT_EQ(count(disc.pull(1000), 0), 1000u);
  EXPECT_EQ(disc.notices(), (std::vector<uint32_t>{kNotifySuperseded, kNotifyAborted}));
  // A stop with nothing playing, and a play without a window, post nothing.
  disc.device.stop(id);
  disc.device.play(id, 4, 5, nullptr);
  disc.pull(5000);
  EXPECT_TRUE(disc.notices().empty());
}

TEST(TrackCdDevice, TheFeederThreadKeepsThePlayGoingOnItsOwn) {
  Disc disc;
  TrackCdDevice device(&disc.volumes, TrackCdDevice::Feeding::Thread);
  uint16_t id = 0;
  ASSERT_EQ(device.open("q:", id), 0u);
  ASSERT_EQ(device.play(id, 4, 5, &disc.window), 0u);
  // No prepare: whatever the thread has decoded so far is mixed, until the whole track has been.
  size_t heard = 0;
  float acc[2 * 256];
  while (disc.notices().empty()) {
    std::fill_n(acc, 2 * 256, 0.0f);
    heard += device.mix(acc, 256, 1.0f);
    std::this_thread::yield();
  }
  EXPECT_EQ(heard, 4410u);
}

}  // namespace
}  // namespace kelvox::platform
