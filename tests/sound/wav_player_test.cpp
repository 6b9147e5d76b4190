// The WAV player as scripts see it (group 0x800B, SetScreenMode, the frame loop's loop upkeep)
// on the headless platform, with the files served from memory so reads can be counted.
#include "sound/wav_player.h"

#include <gtest/gtest.h>

#include "platform/headless_audio.h"
#include "sound/sound_files.h"
#include "sound/wav_fixtures.h"
#include "sound/wav_group.h"
#include "support/test_game.h"

namespace kelvox::sound {
namespace {

using Stack = std::vector<int32_t>;

// 441 frames at 44100 Hz: 10 ms, over before the next 33 ms tick.
const std::string kShort = test::makeWav({}, test::constantPcm16(441, 8000));

struct WavGame {
  explicit WavGame(const std::string& code)
      : game(".code\n" + code + "\n.data\nse: .string \"se\"\nbo: .string \"bo\"\nbad: .string \"bad\"\n") {
    files.files["Wav\\se.wav"] = kShort;
    files.files["Wav\\bo.wav"] = kShort;
    files.files["Wav\\bad.wav"] = "RIFF....WAVEnot a wav file at all, sorry";
    game.host->wav->useFiles(&files);
  }
  WavPlayer& wav() { return *game.host->wav; }
  test::TestGame game;
  test::FakeSoundFiles files;
};

constexpr const char* kScreen = "640 480 0 SetScreenMode ";

TEST(WavPlayer, ScriptScenarios) {
  struct Case {
    const char* what;
    std::string code;
    Stack stack;
    int reads;
  } cases[] = {
      {"before the first SetScreenMode nothing plays", "se 0 WavPlay 0 WavIsPlaying", {0}, 0},
      {"after it a sound plays", std::string(kScreen) + "se 0 WavPlay 0 WavIsPlaying", {1}, 1},
      {"the same file twice is read once", std::string(kScreen) + "se 0 WavPlay se 0 WavPlay 0 WavIsPlaying", {1}, 1},
      {"the same file on another channel is read again", std::string(kScreen) + "se 0 WavPlay se 1 WavPlay", {}, 2},
      {"channel 4 and above push 0", std::string(kScreen) + "se 4 WavPlay 4 WavIsPlaying -1 WavIsPlaying", {0, 0}, 0},
      {"a bad file leaves the channel empty", std::string(kScreen) + "bad 0 WavPlay 0 WavIsPlaying", {0}, 1},
      {"a missing file plays nothing and stops the channel",
       std::string(kScreen) + "se 0 WavPlay bo 0 WavPlay 0 WavIsPlaying", {0}, 1},
      {"WavStop stops", std::string(kScreen) + "se 0 WavPlay 0 WavStop 0 WavIsPlaying", {0}, 1},
      {"GetScreenMode without Save\\Sys is full screen", "GetScreenMode", {1}, 0},
      {"GetScreenMode follows SetScreenMode", "640 480 0 SetScreenMode GetScreenMode 640 480 7 SetScreenMode GetScreenMode",
       {0, 1}, 0},
  };
  for (const Case& c : cases) {
    WavGame g(c.code + " WaitFrame");
    if (std::string(c.what).find("missing") != std::string::npos) g.files.files.erase("Wav\\bo.wav");
    EXPECT_EQ(g.game.slice(), "") << c.what;
    EXPECT_EQ(g.game.stack(), c.stack) << c.what;
    EXPECT_EQ(g.files.totalReads(), c.reads) << c.what;
  }
}

TEST(WavPlayer, AnotherFileReplacesTheChannelsSound) {
  WavGame g(std::string(kScreen) + "se 0 WavPlay bo 0 WavPlay WaitFrame");
  g.game.slice();
  EXPECT_EQ(g.wav().fileName(0), "Wav\\bo.wav");
  EXPECT_EQ(g.files.reads["Wav\\se.wav"], 1);
  EXPECT_EQ(g.files.reads["Wav\\bo.wav"], 1);
}

TEST(WavPlayer, VolumeAndPanClamps) {
  struct Case {
    const char* code;
    int32_t masterVolume, masterPan, volume0, pan0;
  } cases[] = {
      {"0 -1 WavVolume", 100, 0, 100, 0},  // −1 taken unsigned: full volume
      {"0 30 WavVolume 250 WavMasterPan", 100, 100, 30, 0},
      {"-250 WavMasterPan 0 -101 WavPan 40 WavMasterVolume", 40, -100, 100, -100},
      {"0 101 WavVolume 0 55 WavPan -5 WavMasterVolume", 100, 0, 100, 55},
      {"7 30 WavVolume 7 30 WavPan", 100, 0, 100, 0},  // out of range: ignored
  };
  for (const Case& c : cases) {
    WavGame g(std::string(kScreen) + c.code + " WaitFrame");
    EXPECT_EQ(g.game.slice(), "") << c.code;
    EXPECT_EQ(g.wav().masterVolume(), c.masterVolume) << c.code;
    EXPECT_EQ(g.wav().masterPan(), c.masterPan) << c.code;
    EXPECT_EQ(g.wav().channelVolume(0), c.volume0) << c.code;
    EXPECT_EQ(g.wav().channelPan(0), c.pan0) << c.code;
  }
}

TEST(WavPlayer, LoopingRestartsEachTickUntilWavStop) {
  // Tick 1 starts the 10 ms sound; by tick 2 it has ended. Looping, the tick's upkeep starts
  // it again before the script asks; played once, it stays stopped. After WavStop in tick 3
  // the loop is over.
  struct Case {
    const char* play;
    Stack stack;
  } cases[] = {{"WavPlayLoop", {1, 0}}, {"WavPlay", {0, 0}}};
  for (const Case& c : cases) {
    WavGame g(std::string(kScreen) + "se 0 " + c.play +
              " WaitFrame 0 WavIsPlaying WaitFrame 0 WavStop WaitFrame 0 WavIsPlaying WaitFrame End");
    for (int tick = 0; tick < 4; ++tick) shell::tickHost(*g.game.host);
    EXPECT_EQ(g.game.stack(), c.stack) << c.play;
  }
}

TEST(WavPlayer, EverySwitchDiscardsSoundsAndResetsTheMasterVolume) {
  WavGame g(std::string(kScreen) + "40 WavMasterVolume -30 WavMasterPan se 0 WavPlay 0 20 WavVolume 1 1 WavPlayLoop " +
            "640 480 1 SetScreenMode 0 WavIsPlaying WaitFrame");
  g.game.slice();
  EXPECT_EQ(g.game.stack(), Stack{0});
  EXPECT_EQ(g.wav().masterVolume(), 100);
  EXPECT_EQ(g.wav().masterPan(), -30);  // kept
  EXPECT_EQ(g.wav().channelCount(), 4u);
  EXPECT_EQ(g.wav().fileName(0), "");
  EXPECT_EQ(g.wav().channelVolume(0), 100);
  EXPECT_EQ(g.wav().looping(1), 0);
  EXPECT_EQ(g.game.m().screenMode, 1);
}

TEST(WavPlayer, AHeaderClaimingMoreDataPlaysOnlyWhatIsThere) {
  WavGame g(std::string(kScreen) + "se 0 WavPlay WaitFrame");
  // 200 frames of a constant, with a data size of 100000 bytes in the header.
  g.files.files["Wav\\se.wav"] = test::makeWav({.dataSizeField = 100000}, test::constantPcm16(200, 16384));
  platform::HeadlessAudio& audio = g.game.platform->audio();
  audio.setCapture(true);
  g.game.slice();
  g.game.clock().advance(100);
  audio.update();
  size_t sounding = 0;
  for (size_t i = 0; i < audio.captured().size(); i += 2) sounding += audio.captured()[i] != 0;
  EXPECT_EQ(sounding, 200u);
  EXPECT_EQ(g.wav().isPlaying(0), 0);
}

TEST(WavPlayer, FileResolution) {
  test::FakeSoundFiles files;
  files.files["Wav\\both.wav"] = "";
  files.files["Disc\\Wav\\both.wav"] = "";
  files.files["Disc\\Wav\\disc.wav"] = "";
  struct Case {
    std::string name;
    std::optional<std::string> path;
  } cases[] = {
      {"both", "Wav\\both.wav"},  // the program's folder first
      {"disc", "Disc\\Wav\\disc.wav"},
      {"none", std::nullopt},
      {"..\\..\\etc\\x", std::nullopt},
      {std::string(300, 'a'), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(resolveWavFile(files, "Disc\\", c.name), c.path) << c.name;
}

// An audio device that is never there: a server without sound.
struct NoAudio final : platform::AudioDevice {
  bool open(platform::AudioSource&) override { return false; }
  void close() override {}
  bool isOpen() const override { return false; }
  void update() override {}
};

TEST(WavPlayer, WithoutAnAudioDeviceEverythingIsIgnored) {
  NoAudio none;
  platform::Paths paths("/nonexistent");
  test::FakeSoundFiles files;
  files.files["Wav\\se.wav"] = kShort;
  WavPlayer wav(none, paths);
  wav.useFiles(&files);
  EXPECT_EQ(wav.initialise(nullptr), 1);
  EXPECT_EQ(wav.device(), nullptr);
  EXPECT_EQ(wav.channelCount(), 0u);
  EXPECT_EQ(wav.play(0, "Wav\\se.wav", 1), 1);
  EXPECT_EQ(wav.isPlaying(0), 0);
  wav.serviceLoops();
  EXPECT_EQ(files.totalReads(), 0);
}

}  // namespace
}  // namespace kelvox::sound
