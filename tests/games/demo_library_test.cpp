// The demo's own subroutines, run one by one on the headless machine: the text box reveals one
// character a frame whatever its bytes, the settings' levels outlive a loaded game and step
// within 0..10, menus answer the pointer, the arrow keys and a right click, the newest save is
// found by its date, and the right-click menu's way back to the title leaves no return address
// behind.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <ctime>

#include "asm/assembler.h"
#include "shell/engine_host.h"
#include "support/test_game.h"
#include "vm/data_memory.h"

namespace kelvox::games {
namespace {

namespace fs = std::filesystem;

// The demo's script with [test] in front of it, so the test's code starts at 0; the demo's
// pictures and sounds beside it.
class DemoScript {
 public:
  explicit DemoScript(const std::string& test)
      : source_(".code\n" + test + "\n.include \"" + (fs::path(KELVOX_SOURCE_DIR) / "games/demo/main.kvs").string() + "\"\n"),
        labels_(assembler::assembleOrThrow(source_).labels),
        game_(source_) {
    for (const char* folder : {"Grd", "Wav", "Midi"})
      fs::copy(fs::path(KELVOX_BINARY_DIR) / "games/demo" / folder, game_.dir.path() / folder, fs::copy_options::recursive);
  }

  int32_t label(const std::string& name) { return static_cast<int32_t>(labels_.at(name)); }
  int32_t word(const std::string& name, int32_t offset = 0) { return vm::loadDataWord(game_.m(), label(name) + offset); }
  void tick() { shell::frameTick(*game_.host); }
  void frames(int n) {
    for (int i = 0; i < n; ++i) tick();
  }
  void click(int vk) {
    button(vk, true);
    frames(2);
    button(vk, false);
    frames(2);
  }
  void mouse(int x, int y) { game_.host->input->setMousePosition(x, y); }
  void button(int vk, bool down) {
    using Kind = platform::WindowEvent::Kind;
    platform::WindowEvent e{down ? Kind::MouseDown : Kind::MouseUp};
    e.button = vk;
    game_.window().inject(e);
  }
  test::TestGame& game() { return game_; }

 private:
  std::string source_;
  std::map<std::string, uint32_t> labels_;
  test::TestGame game_;
};

TEST(DemoLibrary, TheTextBoxRevealsOneCharacterAFrame) {
  // "A", "あ" (two bytes), a line break, "い", "B": the bytes shown after each frame.
  DemoScript demo(R"(
    640 480 0 SetScreenMode ui_load Call message_init Call
    line NARRATOR say Call
    End
.data
line: .string "Aあ\rいB"
.code)");
  demo.tick();  // the set-up, and the empty line
  std::vector<int32_t> shown;
  for (int frame = 0; frame < 6; ++frame) {
    demo.tick();
    shown.push_back(demo.word("line_shown"));
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{1, 3, 4, 6, 7, 7}));
  EXPECT_EQ(demo.word("line_length"), 7);
}

TEST(DemoLibrary, TheLevelsOfTheSettingsOutliveALoadedGame) {
  // Saved at level 7, set to 2 afterwards, then loaded: the level stays 2.
  DemoScript demo(R"(
    640 480 0 SetScreenMode
    s_e_hill 0 SP_BG LoadPattern              ; as in the game: a scene's picture is recorded first
    7 wav_level StoreWord levels_store Call
    0 SaveState
    WasRestored loaded JumpIf
    2 wav_level StoreWord levels_store Call
    0 LoadState
loaded:
    wav_level LoadWord saved_level StoreWord
    levels_load Call
    End
.data
saved_level: .word 0
.code)");
  demo.tick();
  EXPECT_EQ(demo.word("saved_level"), 7);  // the loaded data memory had the old level...
  EXPECT_EQ(demo.word("wav_level"), 2);    // ...and the patterns kept the new one
}

TEST(DemoLibrary, AMenuAnswersThePointerTheKeysAndARightClick) {
  DemoScript demo(R"(
    640 480 0 SetScreenMode ui_load Call
    title_menu menu_open Call
again:
    menu_run Call answers answered LoadWord Add StoreWord
    answered LoadWord 1 Add answered StoreWord
    again Jump
.data
answered: .word 0
answers:  .word 9, 9, 9
.code)");
  demo.frames(2);
  demo.mouse(400 + 219, 298 + 37);  // the last pixel of the third button (ギャラリー)
  demo.frames(2);
  EXPECT_EQ(demo.word("menu_hover"), 2);
  demo.click(1);
  demo.mouse(400 + 220, 298);  // one pixel right of it: no button
  demo.frames(2);
  EXPECT_EQ(demo.word("menu_hover"), -1);
  demo.click(1);  // a click beside the buttons is no answer
  demo.click(2);  // a right click is -2
  EXPECT_EQ(demo.word("answered"), 2);
  EXPECT_EQ(demo.word("answers"), 2);
  EXPECT_EQ(demo.word("answers", 1), -2);
  // Down from no button goes to the first one: the pointer moves to its middle.
  demo.game().window().inject({platform::WindowEvent::Kind::KeyDown, 0, 0, 0, 40});
  demo.frames(2);
  ASSERT_FALSE(demo.game().window().cursorMoves().empty());
  EXPECT_EQ(demo.game().window().cursorMoves().back(), (std::pair<int, int>{400 + 110, 214 + 19}));
}

TEST(DemoLibrary, TheSettingsStepALevelWithinZeroToTen) {
  DemoScript demo(R"(
    640 480 0 SetScreenMode ui_load Call levels_store Call
    settings_open Call
    settings_run Call
    End)");
  demo.frames(2);
  const struct {
    int x, y;         // the button clicked: effects' － or ＋, music's －
    int32_t effects;  // the effects' level after it (from 8)
  } steps[] = {{536, 173, 9}, {536, 173, 10}, {536, 173, 10}, {264, 173, 9}, {264, 233, 9}};
  for (const auto& step : steps) {
    demo.mouse(step.x, step.y);
    demo.click(1);
    EXPECT_EQ(demo.word("wav_level"), step.effects) << step.x << "," << step.y;
  }
  EXPECT_EQ(demo.word("midi_level"), 7);
}

TEST(DemoLibrary, TheNewestSaveIsMarkedByItsDateAndTime) {
  // The dates of Save00 and Save01 (local time; even seconds, as the file dates keep them) and
  // the row marked 最新: across a year, a month's end, and two seconds.
  struct Case {
    int first[6], second[6];
    int32_t newest;
  };
  const Case cases[] = {{{2026, 1, 2, 10, 0, 0}, {2025, 12, 31, 23, 59, 58}, 0},
                        {{2025, 12, 31, 23, 59, 58}, {2026, 1, 1, 0, 0, 0}, 1},
                        {{2026, 3, 1, 0, 0, 0}, {2026, 2, 28, 23, 59, 58}, 0},
                        {{2026, 5, 5, 5, 5, 4}, {2026, 5, 5, 5, 5, 6}, 1}};
  for (const Case& c : cases) {
    DemoScript demo("    640 480 0 SetScreenMode saveload_newest Call End");
    int slot = 0;
    for (const int* d : {c.first, c.second}) {
      fs::path file = demo.game().dir.path() / "Save" / ("Save0" + std::to_string(slot++));
      demo.game().dir.write(fs::relative(file, demo.game().dir.path()).string(), "a saved game");
      std::tm when{};
      when.tm_year = d[0] - 1900, when.tm_mon = d[1] - 1, when.tm_mday = d[2];
      when.tm_hour = d[3], when.tm_min = d[4], when.tm_sec = d[5], when.tm_isdst = -1;
      const timeval times[2] = {{std::mktime(&when), 0}, {std::mktime(&when), 0}};
      ASSERT_EQ(utimes(file.c_str(), times), 0);
    }
    demo.tick();
    EXPECT_EQ(demo.word("newest_row"), c.newest) << c.first[0] << "-" << c.first[1] << "-" << c.first[2];
  }
}

TEST(DemoLibrary, BackToTheTitleFromALineLeavesNoReturnAddressBehind) {
  DemoScript demo("    start Jump");  // the whole game from its start
  demo.frames(30);
  demo.mouse(510, 233);  // はじめから
  demo.click(1);
  demo.frames(150);      // the first line is shown and waits
  demo.click(2);         // the right-click menu
  demo.mouse(320, 281);  // タイトルに戻る
  demo.click(1);
  demo.frames(100);      // the ragged wipe to the title
  EXPECT_EQ(demo.word("menu_table"), demo.label("title_menu"));
  // Only menu_run's own return into the title's loop: say's, line_wait's and the menu's are gone.
  EXPECT_EQ(demo.game().m().returnStack.getCount(), 1);
  EXPECT_EQ(demo.game().m().paramStack.getCount(), 0);
}

}  // namespace
}  // namespace kelvox::games
