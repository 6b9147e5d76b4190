// Group 0x8007 as scripts see it: saving and resuming, flags and seen pictures, dates, labels,
// thumbnails, and the files that must not be written or read.
#include "save/save_group.h"

#include <gtest/gtest.h>

#include <regex>

#include "graphics/display.h"
#include "graphics/pattern.h"
#include "graphics/pattern_store.h"
#include "platform/surfaces/bmp_file.h"
#include "platform/file_system.h"
#include "platform/fonts/freetype_font_engine.h"
#include "platform/text_encoding.h"
#include "save/save_dates.h"
#include "support/test_game.h"
#include "text/text_window.h"
#include "vm/instruction_set.h"

namespace kelvox::save {
namespace {

using Stack = std::vector<int32_t>;
namespace fs = std::filesystem;

const char* kData = "\n.data\nfoo: .string \"Foo\"\nlower: .string \"foo\"\nstk: .string \"stk\"\nup: .string \"..\\\\x\"\n";

// A game with a Save folder (unless [saveFolder] is false).
std::unique_ptr<test::TestGame> game(const std::string& code, bool saveFolder = true) {
  std::vector<std::pair<std::string, std::string>> files;
  if (saveFolder) files.push_back({"Save/.keep", ""});
  return std::make_unique<test::TestGame>(".code\n" + code + kData, files);
}

// The slice after a WaitFrame (the frame tick's work done by hand).
std::string next(test::TestGame& g) {
  g.m().frameWait = 0;
  return g.slice();
}

TEST(SaveGroup, LoadStateResumesAfterSaveStateAndWasRestoredPushesOnce) {
  auto g = game("11 0 SaveState WasRestored WaitFrame 0 LoadState WaitFrame");
  ASSERT_EQ(g->slice(), "");
  EXPECT_EQ(g->stack(), (Stack{11, 0}));
  ASSERT_EQ(next(*g), "");  // LoadState goes back to just after SaveState, stack [11]
  EXPECT_EQ(g->stack(), (Stack{11, 1}));
  saveGroup(g->m(), 0x8007000Bu);  // WasRestored again
  EXPECT_EQ(g->stack(), (Stack{11, 1, 0}));
}

TEST(SaveGroup, ScriptScenarios) {
  struct Case {
    const char* what;
    const char* code;
    Stack stack;
  } cases[] = {
      {"a flag set in capitals is found in small letters", "foo SetSystemFlag lower SystemFlag", {1}},
      {"a flag is not a seen picture", "foo SetSystemFlag lower ImageSeen", {0}},
      {"an unset flag", "lower SystemFlag", {0}},
      {"a missing slot", "3 SaveMissing 100 SaveMissing", {1, 1}},
      {"a saved slot", "100 SaveState 100 SaveMissing", {0}},
      {"slots outside 0..100 are missing", "101 SaveState 101 SaveMissing -1 SaveMissing", {1, 1}},
      {"a missing slot has no date", "4 SaveDate", {-1, -1, -1, -1, -1, -1}},
      {"a missing slot does not load", "9 4 LoadState WasRestored", {9, 0}},
      {"AuxGet reads 0 and AuxSet is ignored", "5 77 AuxSet 5 AuxGet", {0}},
      {"SetSaveAtExit", "0 SetSaveAtExit", {}},
      {"no thumbnail, nothing saved", "2 SaveThumbnail 2 SaveMissing", {1}},
  };
  for (const Case& c : cases) {
    auto g = game(std::string(c.code) + " WaitFrame");
    EXPECT_EQ(g->slice(), "") << c.what;
    EXPECT_EQ(g->stack(), c.stack) << c.what;
  }
}

TEST(SaveGroup, SetSystemFlagWritesSaveSysEveryTime) {
  auto g = game("foo SetSystemFlag WaitFrame foo SetSystemFlag WaitFrame");
  ASSERT_EQ(g->slice(), "");
  fs::path sys = g->dir.path() / "Save" / "Sys";
  ASSERT_TRUE(fs::exists(sys));
  fs::remove(sys);
  ASSERT_EQ(next(*g), "");  // the flag is known; the file is written again all the same
  EXPECT_TRUE(fs::exists(sys));
  EXPECT_EQ(g->m().systemList.entries(), (std::vector<std::string>{":foo"}));
}

TEST(SaveGroup, SaveDateSecondsAreEvenAndMatchTheLabel) {
  auto g = game("0 SaveState 0 SaveDate WaitFrame");
  ASSERT_EQ(g->slice(), "");
  Stack s = g->stack();
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(s[0] % 2, 0);
  EXPECT_GE(s[5], 1980);
  char label[64];
  std::snprintf(label, sizeof label, "%4d/%02d/%02d %02d:%02d:%02d", s[5], s[4], s[3], s[2], s[1], s[0]);
  EXPECT_EQ(saveLabelText(g->m().platform.paths, 0), label);
  EXPECT_EQ(saveLabelText(g->m().platform.paths, 1), "----/--/-- --:--:--");
}

TEST(SaveDates, FatTimeKeepsTwoSecondStepsAndItsYears) {
  struct Case {
    int year, second;
    int fatSecond;  // -1: no FAT time
  } cases[] = {{2026, 13, 12}, {2026, 0, 0}, {2026, 59, 58}, {2026, 60, 58}, {1980, 1, 0}, {1979, 0, -1}, {2108, 0, -1}};
  for (Case c : cases) {
    auto t = toFatTime({c.year, 6, 15, 12, 30, c.second});
    if (c.fatSecond < 0) {
      EXPECT_FALSE(t) << c.year;
    } else {
      ASSERT_TRUE(t) << c.year;
      EXPECT_EQ(t->second, c.fatSecond) << c.second;
    }
  }
}

TEST(SaveGroup, LabelTakesAnEightPixelCellPerByte) {
  platform::FreeTypeFontEngine fonts;
  text::TextWindow w;
  renderSaveLabel(w, fonts, platform::toSjis("ＭＳ ゴシック"), "----/--/-- --:--:--");
  ASSERT_NE(w.pixels(), nullptr);
  ASSERT_EQ(w.width(), 200);
  ASSERT_EQ(w.height(), 20);
  // 19 characters: 152 pixels, plus the second drawing one pixel to the right.
  int ink = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 200; ++x)
      if (uint32_t p = w.pixels()[y * 200 + x]) {
        EXPECT_EQ(p, 0xFFFFFFu);
        EXPECT_LE(x, 152) << y;
        ++ink;
      }
  EXPECT_GT(ink, 19);
}

TEST(SaveGroup, ThumbnailIsSavedAsA32BitBmp) {
  auto g = game("64 48 0 SetScreenMode 40 30 MakeThumbnail 7 SaveThumbnail 7 2 1 LoadThumbnail WaitFrame");
  ASSERT_EQ(g->slice(), "");
  // Loaded back as pattern 2 of the thumbnail's size, in draw mode 1.
  graphics::TPatternRef* ref = graphics::patternAt(g->m(), 2);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->pattern->width, 40);
  EXPECT_EQ(ref->pattern->height, 30);
  EXPECT_EQ(ref->pattern->drawMode, 1);
  auto bytes = platform::readWholeFile(g->dir.path() / "Save" / "SSHT07");
  ASSERT_TRUE(bytes);
  EXPECT_EQ((*bytes)[28], 32);
  auto back = platform::decodeBmp(*bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width(), 40);
  EXPECT_EQ(back->height(), 30);
}

TEST(SaveGroup, AThumbnailIsTheBackBufferStretched) {
  auto g = game("64 48 0 SetScreenMode WaitFrame");
  ASSERT_EQ(g->slice(), "");
  vm::MachineContext& m = g->m();
  // A 64 × 48 scene at 32 bits: left half red, right half blue, a 2 × 2 green corner.
  platform::Surface& back = *m.display->BackBuffer();
  platform::SurfaceRect left{0, 0, 32, 48}, right{32, 0, 64, 48}, corner{0, 0, 2, 2};
  back.colorFill(&left, 0xFF0000);
  back.colorFill(&right, 0x0000FF);
  back.colorFill(&corner, 0x00FF00);
  m.paramStack.push(32);  // width
  m.paramStack.push(24);  // height
  ASSERT_EQ(saveGroup(m, static_cast<uint32_t>(vm::Op::MakeThumbnail)), 0);
  ASSERT_EQ(m.thumbnail->width(), 32);
  ASSERT_EQ(m.thumbnail->height(), 24);
  // Thumbnail pixel x takes source pixel (2x + 1) × 64 / 64 = 2x + 1, and the same downwards.
  struct Case {
    int x, y;
    uint32_t colour;
  } cases[] = {
      {0, 0, 0x00FF00},   // source (1, 1)
      {1, 0, 0xFF0000},   // source (3, 1)
      {0, 1, 0xFF0000},   // source (1, 3)
      {15, 23, 0xFF0000}, // source (31, 47)
      {16, 0, 0x0000FF},  // source (33, 1)
      {31, 23, 0x0000FF}, // source (63, 47)
  };
  for (const Case& c : cases) EXPECT_EQ(m.thumbnail->pixel(c.x, c.y), c.colour) << c.x << "," << c.y;
}

TEST(SaveGroup, SaveLabelMakesAPatternOfTheLabelsSize) {
  auto g = game("64 48 0 SetScreenMode 3 7 SaveLabel WaitFrame");
  ASSERT_EQ(g->slice(), "");
  graphics::TPatternRef* ref = graphics::patternAt(g->m(), 7);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->pattern->width, 200);
  EXPECT_EQ(ref->pattern->height, 20);
  EXPECT_EQ(ref->pattern->drawMode, 1);
  int ink = 0;  // the placeholder "----/--/-- --:--:--" in white
  for (uint32_t p : ref->pattern->pixels) {
    ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << std::hex << p;
    ink += p != 0;
  }
  EXPECT_GT(ink, 20);
  auto outOfRange = game("64 48 0 SetScreenMode 3 1024 SaveLabel WaitFrame");
  EXPECT_EQ(outOfRange->slice(), "SaveLabelに指定するパターン番号の範囲オーバー(31)");
}

TEST(SaveGroup, AThumbnailThatIsNotAPictureIsRefused) {
  auto g = game("7 2 1 LoadThumbnail WaitFrame");
  g->dir.write("Save/SSHT07", "BM not really a bitmap, just text long enough to pass a size check....");
  EXPECT_EQ(g->slice(), "Save\\SSHT07のフォーマットに不正が見られます(17)");
}

TEST(SaveGroup, FailedWritesAndForeignNamesLeaveFilesAlone) {
  {  // no Save folder yet: it is made, as for Save\Sys, and the first save is written
    auto g = game("0 SaveState WaitFrame", false);
    EXPECT_EQ(g->slice(), "");
    EXPECT_TRUE(fs::is_regular_file(g->dir.path() / "Save" / "Save00"));
  }
  // A stack file must exist; a name that leaves Save\ is refused even when its file exists.
  struct Case {
    const char *code, *error;
  } cases[] = {{"stk SaveStacks", "Save\\stk が開けません"},
               {"stk LoadStacks", "Save\\stk が開けません"},
               {"up SaveStacks", "ファイル名 ..\\x は使えません"},
               {"up LoadStacks", "ファイル名 ..\\x は使えません"}};
  for (auto [code, error] : cases) {
    auto g = game(code);
    g->dir.write("x", "keep");
    EXPECT_NE(g->slice().find(error), std::string::npos) << code;
    EXPECT_FALSE(fs::exists(g->dir.path() / "Save" / "stk")) << code;
    EXPECT_EQ(g->dir.read("x"), "keep") << code;
  }
  {  // an existing stack file is written and read back
    auto g = game("7 stk SaveStacks WaitFrame 8 stk LoadStacks WaitFrame");
    g->dir.write("Save/stk", "");
    ASSERT_EQ(g->slice(), "");
    ASSERT_EQ(next(*g), "");
    EXPECT_EQ(g->stack(), (Stack{7}));
  }
}

}  // namespace
}  // namespace kelvox::save
