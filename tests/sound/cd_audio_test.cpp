// CD audio as scripts see it (group 0x800D) on the headless platform and the virtual clock,
// with a disc of generated tracks: which track is heard, the end of the disc, looping on the
// completion notice, the CD-audio volume, reopening, and bad discs.
#include "sound/cd_audio.h"

#include <gtest/gtest.h>

#include "common/window_messages.h"
#include "platform/headless_audio.h"
#include "sound/cd_group.h"
#include "support/cd_tracks.h"
#include "support/test_game.h"
#include "vm/instruction_set.h"

namespace kelvox::sound {
namespace {

// A game whose script sets the screen mode (the mixer starts pulling; not with
// [screenMode] false), then runs [code] and waits for ever. Its disc, labelled "Zarveth" in drive d:, has tracks 2, 3 and 4, each a
// quarter of a second (11025 frames) at level 1000 × the track number; track 1 is the data
// track. The whole sound output is kept.
struct CdGame {
  explicit CdGame(const std::string& code, bool screenMode = true)
      : game(".data\nlabel: .string \"ZARVETH\"\nother: .string \"ELSEWHERE\"\n.code\n" +
             std::string(screenMode ? "640 480 0 SetScreenMode\n" : "") + code + "\nforever: WaitFrame forever Jump\n") {
    for (int t = 2; t <= 4; ++t)
      test::writeTrack(disc.path() / ("track0" + std::to_string(t) + ".wav"), {.level = static_cast<int16_t>(1000 * t)});
    game.platform->fixedVolumes() = platform::FixedVolumes({{'d', "Zarveth", disc.path()}});
    game.platform->audio().setCapture(true);
  }
  CdAudio& cd() { return *cdAudioOf(game.m()); }
  // [ticks] passes of the main loop: the window's notices go to the listeners, then a tick.
  void run(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      std::vector<platform::WindowEvent> events;
      game.window().pumpEvents(events);
      for (const auto& e : events) {
        auto msg = common::toWindowMessage(e);
        game.host->listeners.broadcastMessage(&game.window(), msg.message, msg.wParam, msg.lParam);
      }
      shell::tickHost(*game.host);
    }
  }
  // The left channel of everything heard so far.
  std::vector<int> heard() {
    const auto& s = game.platform->audio().captured();
    std::vector<int> left;
    for (size_t i = 0; i < s.size(); i += 2) left.push_back(s[i]);
    return left;
  }
  size_t count(int level) {
    auto h = heard();
    return std::count(h.begin(), h.end(), level);
  }
  // The lengths of the runs of [level] in what was heard.
  std::vector<size_t> runs(int level) {
    std::vector<size_t> out;
    size_t n = 0;
    for (int x : heard()) {
      if (x == level) {
        ++n;
      } else if (n) {
        out.push_back(n);
        n = 0;
      }
    }
    if (n) out.push_back(n);
    return out;
  }
  test::TempDir disc;
  test::TestGame game;
};

constexpr size_t kTrack = 11025;

TEST(CdAudio, ATrackPlaysAloneAndTheLastOneToTheEndOfTheDisc) {
  struct Case {
    const char* code;
    int level;
  } cases[] = {{"label CdOpen 2 CdPlay", 2000}, {"label CdOpen 3 CdPlay", 3000}, {"label CdOpen 4 CdPlay", 4000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    CdGame g(c.code);
    g.run(2);
    EXPECT_EQ(g.game.stack(), std::vector<int32_t>{1});
    EXPECT_EQ(g.cd().trackCount(), 4);
    EXPECT_NE(g.cd().currentTrack(), 0);
    g.run(20);  // 0.66 s
    EXPECT_EQ(g.runs(c.level), std::vector<size_t>{kTrack});
    EXPECT_EQ(g.count(0) + kTrack, g.heard().size());  // nothing else was heard
    EXPECT_EQ(g.cd().currentTrack(), 0);                  // the notice ended it
  }
}

TEST(CdAudio, ALoopingTrackStartsAgainOnTheCompletionNotice) {
  CdGame g("label CdOpen 3 CdPlayLoop");
  g.run(45);  // 1.5 s: the track and its restart take about 10 ticks
  auto runs = g.runs(3000);
  ASSERT_GE(runs.size(), 3u);
  for (size_t i = 0; i + 1 < runs.size(); ++i) EXPECT_EQ(runs[i], kTrack) << i;
  EXPECT_EQ(g.cd().currentTrack(), 3);
  EXPECT_EQ(g.count(2000) + g.count(4000), 0u);
  // CdStop ends the loop: nothing more is heard.
  vm::MachineContext& m = g.game.m();
  cdGroup(m, static_cast<uint32_t>(vm::Op::CdStop));
  size_t before = g.count(3000);
  g.run(30);
  EXPECT_EQ(g.count(3000), before);
  EXPECT_EQ(g.cd().currentTrack(), 0);
}

TEST(CdAudio, WithoutASoundDeviceTracksStillEndAndLoopOnTime) {
  // Before the first SetScreenMode no device pulls the mixer; the CD keeps its time anyway,
  // silently. A quarter-second track is over well within 20 ticks (0.66 s).
  CdGame once("label CdOpen 2 CdPlay", false);
  once.run(20);
  EXPECT_TRUE(once.heard().empty());
  EXPECT_EQ(once.cd().currentTrack(), 0);
  // A looping track is still current after many of its lengths, and CdStop ends it.
  CdGame looping("label CdOpen 3 CdPlayLoop", false);
  looping.run(45);
  EXPECT_EQ(looping.cd().currentTrack(), 3);
  cdGroup(looping.game.m(), static_cast<uint32_t>(vm::Op::CdStop));
  EXPECT_EQ(looping.cd().currentTrack(), 0);
}

TEST(CdAudio, TheVolumeIsTheCdGainRelativeToItsStartUpLevel) {
  // Level v sets the gain to trunc(65535 × v / 100), never above 65535; the gain is the
  // amplitude's factor over 65535, so track 2's level 2000 comes out as 2000 × gain / 65535.
  for (int v : {0, 50, 100, 150, 1}) {
    SCOPED_TRACE(v);
    CdGame g(std::to_string(v) + " CdVolume label CdOpen 2 CdPlay");
    g.run(15);
    double gain = std::min(65535.0, std::trunc(65535.0 * v / 100));
    int expected = static_cast<int>(std::nearbyint(2000 * gain / 65535));
    EXPECT_EQ(g.count(expected), expected == 0 ? g.heard().size() : kTrack);
    EXPECT_EQ(g.cd().stream().level(), gain);
  }
}

// One mixer with one CD-audio line whose volume control starts at 40000.
struct OneCdControl final : MixerControls {
  uint32_t level = 40000;
  uint32_t deviceCount() override { return 1; }
  bool open(uint32_t) override { return true; }
  void close(uint32_t) override {}
  std::optional<uint32_t> destinations(uint32_t) override { return 1; }
  std::optional<Line> destination(uint32_t, uint32_t) override { return Line{.id = 0, .connections = 1}; }
  std::optional<Line> source(uint32_t, uint32_t, uint32_t) override {
    return Line{.id = 7, .isSource = true, .isCompactDisc = true, .controls = 1};
  }
  std::optional<Line> lineById(uint32_t, uint32_t) override { return source(0, 0, 0); }
  std::optional<std::vector<Control>> controls(uint32_t, uint32_t) override { return std::vector<Control>{{70, true}}; }
  std::optional<uint32_t> value(uint32_t, uint32_t) override { return level; }
  bool setValue(uint32_t, uint32_t, uint32_t v) override {
    level = v;
    return true;
  }
};

TEST(CdAudio, CdVolumeSetsEveryMixerRelativeToStartUpAndTeardownPutsItBack) {
  CdGame g("");
  vm::MachineContext& m = g.game.m();
  OneCdControl mixers;
  dynamic_cast<CdAudioPart&>(*m.parts.cdAudio).startWith(m, &mixers);
  struct Case {
    int32_t script;
    uint32_t level;
  } cases[] = {{0, 0}, {50, 20000}, {100, 40000}, {150, 40000}, {25, 10000}};
  for (const Case& c : cases) {
    m.paramStack.push(c.script);
    cdGroup(m, static_cast<uint32_t>(vm::Op::CdVolume));
    EXPECT_EQ(mixers.level, c.level) << c.script;
  }
  g.game.m().paramStack.push(0);
  cdGroup(m, static_cast<uint32_t>(vm::Op::CdVolume));
  shell::destroyHost(*g.game.host);
  EXPECT_EQ(mixers.level, 40000u);
}

TEST(CdAudio, CdOpenAgainClosesTheFirstDiscAndAnUnknownLabelOpensNothing) {
  CdGame g("other CdOpen 2 CdPlay CdIsPlaying label CdOpen label CdOpen other CdOpen 2 CdPlay CdIsPlaying");
  g.run(2);
  EXPECT_EQ(g.game.stack(), (std::vector<int32_t>{0, 0, 1, 1, 0, 1}));
  EXPECT_EQ(g.cd().deviceId(), 2);  // the device opened again after the first was closed
  EXPECT_EQ(g.cd().driveName(), "d:");
  EXPECT_EQ(g.cd().volumeLabel(), "Zarveth");
  g.run(15);
  EXPECT_EQ(g.runs(2000), std::vector<size_t>{kTrack});
  g.game.m().paramStack.push(0);
  cdGroup(g.game.m(), static_cast<uint32_t>(vm::Op::CdIsPlaying));  // after the notice
  EXPECT_EQ(g.game.stack().back(), 0);
}

TEST(CdAudio, BadTracksPlayNothingAndNeverStopTheGame) {
  struct Case {
    const char* name;
    std::string bytes;  // what track 3's file holds; a folder when empty
    int32_t isPlaying;  // CdIsPlaying after CdPlay 3: the failed play leaves track 3 current
  } cases[] = {
      {"garbage", std::string(3000, '\x7F'), 1},
      {"truncated header", "RIFF\x24\x00\x00\x00WAVEfmt ", 1},
      {"folder", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CdGame g("label CdOpen 3 CdPlay CdIsPlaying 2 CdPlay");
    std::filesystem::remove(g.disc.path() / "track03.wav");
    if (c.bytes.empty())
      std::filesystem::create_directory(g.disc.path() / "track03.wav");
    else
      g.disc.write("track03.wav", c.bytes);
    g.run(20);
    EXPECT_EQ(g.game.stack(), (std::vector<int32_t>{1, c.isPlaying}));
    EXPECT_EQ(g.count(3000), 0u);
    EXPECT_EQ(g.runs(2000), std::vector<size_t>{kTrack});  // the other tracks still play
  }
}

TEST(CdAudio, ADiscWithoutTracksIsFoundButNeverPlays) {
  CdGame g("label CdOpen 2 CdPlay CdIsPlaying");
  for (int t = 2; t <= 4; ++t) std::filesystem::remove(g.disc.path() / ("track0" + std::to_string(t) + ".wav"));
  g.run(5);
  EXPECT_EQ(g.game.stack(), (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(g.cd().isOpen(), 0);
  EXPECT_EQ(g.count(0), g.heard().size());
}

}  // namespace
}  // namespace kelvox::sound
