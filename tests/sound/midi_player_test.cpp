// The MIDI player as scripts see it (group 0x800A, SetScreenMode) on the headless platform and
// the virtual clock, with a Standard MIDI File written here and served from memory.
#include "sound/midi_player.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/headless_audio.h"
#include "shell/engine_host.h"
#include "sound/midi_group.h"
#include "sound/midi_synth.h"
#include "sound/sound_files.h"
#include "sound/wav_fixtures.h"
#include "support/test_game.h"

namespace kelvox::sound {
namespace {

using Stack = std::vector<int32_t>;

// Format 0, 96 ticks a quarter note at the default 120 beats a minute (500 ms a quarter); the
// piece ends at tick 96, 0.5 s, 15 ticks of 33 ms. The scenarios use the piece without a note:
// FluidSynth counts a piece as playing until its last note has died away, which depends on the
// SoundFont; the one with a note holds middle C to the end, to be heard.
std::string halfSecondPiece(bool note = false) {
  const std::string track = note ? std::string("\x00\x90\x3C\x64" "\x60\x80\x3C\x40" "\x00\xFF\x2F\x00", 12)
                                 : std::string("\x00\xB0\x07\x64" "\x60\xFF\x2F\x00", 8);
  return std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14) + "MTrk" + std::string("\x00\x00\x00", 3) +
         char(track.size()) + track;
}

std::string waits(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += " WaitFrame";
  return s;
}

constexpr const char* kScreen = "640 480 0 SetScreenMode ";

struct MidiGame {
  explicit MidiGame(const std::string& code)
      : game(".code\n" + code + "\n.data\nsong: .string \"song.mid\"\nSONG: .string \"SONG.MID\"\n" +
             "bad: .string \"bad.mid\"\nnone: .string \"none.mid\"\n") {
    files.files["Midi\\song.mid"] = halfSecondPiece();
    files.files["Midi\\SONG.MID"] = halfSecondPiece();
    std::string damaged = halfSecondPiece();
    damaged[21] = '\x7F';  // the track claims far more bytes than the file holds
    files.files["Midi\\bad.mid"] = damaged;
    game.host->wav->useFiles(&files);
    game.host->midi->useFiles(files);
  }
  MidiPlayer& midi() { return *game.host->midi; }
  // Ticks until the script's End (at most [ticks]).
  void run(int ticks) {
    for (int i = 0; i < ticks && !shell::isEndRequested(*game.host); ++i) shell::tickHost(*game.host);
  }
  test::TestGame game;
  test::FakeSoundFiles files;
};

TEST(MidiPlayer, ScriptScenariosOnTheVirtualClock) {
  struct Case {
    const char* what;
    std::string code;
    Stack stack;
  } cases[] = {
      {"a piece played once plays, then ends", std::string(kScreen) + "song MidiPlay WaitFrame MidiIsPlaying" + waits(30) +
                                                   " MidiIsPlaying",
       {1, 0}},
      {"a looping piece is still playing long after its end",
       std::string(kScreen) + "song MidiPlayLoop WaitFrame MidiIsPlaying" + waits(60) + " MidiIsPlaying", {1, 1}},
      {"MidiStop stops", std::string(kScreen) + "song MidiPlayLoop WaitFrame MidiStop MidiIsPlaying", {0}},
      {"a damaged file plays nothing", std::string(kScreen) + "bad MidiPlay WaitFrame MidiIsPlaying", {0}},
      {"a missing file leaves the music playing",
       std::string(kScreen) + "song MidiPlayLoop WaitFrame none MidiPlay WaitFrame MidiIsPlaying", {1}},
      {"a damaged file stops what played", std::string(kScreen) + "song MidiPlayLoop WaitFrame bad MidiPlay MidiIsPlaying",
       {0}},
      // The one-time piece (0.5 s) is taken over at 0.3 s by the switch, which restarts it
      // looping: 1 s later it still plays.
      {"SetScreenMode restarts the song looping",
       std::string(kScreen) + "song MidiPlay" + waits(10) + " " + kScreen + waits(30) + " MidiIsPlaying", {1}},
      {"before the first SetScreenMode a piece plays unheard, then ends",
       "song MidiPlay WaitFrame MidiIsPlaying" + waits(30) + " MidiIsPlaying", {1, 0}},
  };
  for (const Case& c : cases) {
    MidiGame g(c.code + " WaitFrame End");
    g.run(120);
    EXPECT_EQ(g.game.stack(), c.stack) << c.what;
    EXPECT_TRUE(g.game.dialogs().shown().empty()) << c.what;
  }
}

TEST(MidiPlayer, ThePiecePlayingIsNotRestartedInAnyLetterCase) {
  MidiGame g(std::string(kScreen) + "song MidiPlay" + waits(5) + " SONG MidiPlayLoop SONG MidiPlay WaitFrame End");
  g.run(20);
  EXPECT_EQ(g.files.reads["Midi\\song.mid"], 1);
  EXPECT_EQ(g.files.reads["Midi\\SONG.MID"], 0);
  EXPECT_EQ(g.midi().fileName(), "Midi\\song.mid");
}

TEST(MidiPlayer, VolumeStepsReachTheSynthesizer) {
  // v × 220 − 20000 hundredths of a dB on FluidSynth's default gain of 0.2.
  struct Case {
    int32_t v, kept;
    double hundredthsDb;
  } cases[] = {{50, 50, -9000}, {100, 100, 2000}, {-5, 100, 2000}, {0, 0, -20000}, {101, 100, 2000}};
  for (const Case& c : cases) {
    MidiGame g(std::string(kScreen) + std::to_string(c.v) + " MidiVolume WaitFrame End");
    g.run(2);
    EXPECT_EQ(midiVolumeToGain(c.v), c.hundredthsDb) << c.v;
    EXPECT_EQ(g.midi().volume(), c.kept) << c.v;
    double expected = 0.2 * std::pow(10.0, c.hundredthsDb / 2000.0);
    EXPECT_NEAR(g.midi().port()->gain(), expected, expected * 1e-5) << c.v;
  }
}

TEST(MidiPlayer, VolumeWithoutAPortIsForgotten) {
  test::FakeSoundFiles files;
  MidiPlayer midi(files, "");
  midi.setVolume(30);
  EXPECT_EQ(midi.volume(), 100);
  EXPECT_EQ(midi.initialise(nullptr), 0);
  midi.setVolume(30);
  EXPECT_EQ(midi.volume(), 30);
}

TEST(MidiPlayer, APieceIsHeardWithASoundFont) {
  if (findSoundFont("").empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  MidiGame g(std::string(kScreen) + "song MidiPlay" + waits(10) + " End");
  g.files.files["Midi\\song.mid"] = halfSecondPiece(true);
  platform::HeadlessAudio& audio = g.game.platform->audio();
  audio.setCapture(true);
  g.run(10);
  ASSERT_TRUE(g.midi().port()->hasSoundFont());
  int peak = 0;
  for (int16_t s : audio.captured()) peak = std::max(peak, std::abs(int(s)));
  EXPECT_GT(peak, 100);
}

TEST(MidiPlayer, StandardMidiFileCheck) {
  std::string good = halfSecondPiece();
  auto bytes = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  struct Case {
    const char* what;
    std::string file;
    bool ok;
  } cases[] = {
      {"the piece", good, true},
      {"empty", "", false},
      {"not MThd", "RIFF" + good.substr(4), false},
      {"cut inside the track", good.substr(0, good.size() - 1), false},
      {"no tracks", good.substr(0, 10) + std::string("\x00\x00", 2) + good.substr(12), false},
      {"division 0", good.substr(0, 12) + std::string("\x00\x00", 2) + good.substr(14), false},
      {"format 3", good.substr(0, 9) + "\x03" + good.substr(10), false},
      {"a header length past the end", good.substr(0, 4) + "\xFF\xFF\xFF\xFF" + good.substr(8), false},
  };
  for (const Case& c : cases) EXPECT_EQ(isStandardMidiFile(bytes(c.file)), c.ok) << c.what;
}

TEST(MidiPlayer, FileResolution) {
  test::FakeSoundFiles files;
  files.files["Midi\\both.mid"] = "";
  files.files["Disc\\Midi\\both.mid"] = "";
  files.files["Disc\\Midi\\disc.mid"] = "";
  struct Case {
    std::string name;
    std::optional<std::string> path;
  } cases[] = {
      {"both.mid", "Midi\\both.mid"},  // the program's folder first
      {"disc.mid", "Disc\\Midi\\disc.mid"},
      {"both", std::nullopt},  // no extension added
      {"..\\..\\x.mid", std::nullopt},
      {std::string(300, 'a'), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(resolveMidiFile(files, "Disc\\", c.name), c.path) << c.name;
}

}  // namespace
}  // namespace kelvox::sound
