// Cue sheets: what the strict parser refuses (with the line at fault), what it reads from a
// sheet as rippers write them, and the file names it lets out of the sheet's folder (none).
#include "platform/cd/cue_sheet.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

TEST(CueSheet, RefusesWhatItDoesNotUnderstandNamingTheLine) {
  const std::string head = "FILE a.bin BINARY\nTRACK 01 AUDIO\n";
  const std::string one = head + "INDEX 01 00:00:00\n";
  struct Case {
    std::string sheet, error;
  } cases[] = {
      {"", "line 1: no TRACK in the sheet"},
      {"TRACK 01 AUDIO\n", "line 1: TRACK before any FILE"},
      {"FILE \"a.bin BINARY\n", "line 1: a quote that is not closed"},
      {"FILE a.bin MOTOROLA\n", "line 1: file type MOTOROLA is not one this player reads"},
      {"FILE a.bin BINARY\nTRACK 01 CDG\n", "line 2: track mode CDG is not one this player reads"},
      {"FILE a.bin BINARY\nTRACK 00 AUDIO\n", "line 2: track number 00 is not 1 to 99"},
      {head, "line 3: TRACK 1 has no INDEX 01"},
      {one + "TRACK 03 AUDIO\n", "line 4: TRACK 03 out of order after TRACK 1"},
      {head + "INDEX 01 00:60:00\n", "line 3: time 00:60:00 is not mm:ss:ff"},
      {head + "INDEX 01 00:00:75\n", "line 3: time 00:00:75 is not mm:ss:ff"},
      {head + "INDEX 02 00:00:00\n", "line 3: INDEX 02 out of order"},
      {head + "INDEX 01 00:00:10\nINDEX 00 00:00:00\n", "line 4: INDEX 00 out of order"},
      {one + "TRACK 02 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 00 00:02:00\nINDEX 01 00:01:74\n",
       "line 8: INDEX 01 goes back in its file"},
      {one + "FILE b.bin BINARY\n", "line 4: FILE without a TRACK"},
      {one + "SPEED 2\n", "line 4: unknown command SPEED"},
      {one + "PREGAP 2\n", "line 4: PREGAP takes a time mm:ss:ff"},
      {std::string("FILE a\0.bin BINARY\n", 19), "a NUL byte: not a text file"},
      {one + std::string(kMaxCueSheetBytes, ' '), "larger than a cue sheet can be (65587 bytes)"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(parseCueSheet(c.sheet, error)) << c.sheet;
    EXPECT_EQ(error, c.error) << c.sheet;
  }
}

TEST(CueSheet, ReadsTracksPregapsAndFilesAsRippersWriteThem) {
  // A byte-order mark, CRLF line ends, comments, quoted names with spaces, lower-case words,
  // a pregap in the same file and one at the end of the file before (which only ends the
  // track before it).
  std::string sheet =
      "\xEF\xBB\xBFREM GENRE Game\r\nPERFORMER \"Someone\"\r\nFILE \"Disc One.bin\" BINARY\r\n"
      "  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n"
      "  track 02 audio\r\n    FLAGS DCP\r\n    INDEX 00 01:02:03\r\n    INDEX 01 01:04:03\r\n    INDEX 02 01:05:00\r\n"
      "  TRACK 03 AUDIO\r\n    INDEX 00 02:00:00\r\n"
      "FILE \"03.flac\" FLAC\r\n    INDEX 01 00:00:00\r\n  POSTGAP 00:02:00\r\n";
  std::string error;
  auto cue = parseCueSheet(sheet, error);
  ASSERT_TRUE(cue) << error;
  ASSERT_EQ(cue->files.size(), 2u);
  EXPECT_EQ(cue->files[0].name, "Disc One.bin");
  EXPECT_EQ(cue->files[1].type, CueSheet::FileType::Flac);
  ASSERT_EQ(cue->tracks.size(), 3u);
  auto msf = [](uint32_t m, uint32_t s, uint32_t f) { return (m * 60 + s) * 75 + f; };
  EXPECT_EQ(cue->tracks[0].mode, CueSheet::Mode::Mode1_2352);
  EXPECT_EQ(cue->tracks[1].mode, CueSheet::Mode::Audio);
  EXPECT_EQ(cue->tracks[1].index0, msf(1, 2, 3));
  EXPECT_EQ(cue->tracks[1].index1, msf(1, 4, 3));
  EXPECT_EQ(cue->tracks[1].file, 0u);
  EXPECT_EQ(cue->tracks[2].file, 1u);
  EXPECT_EQ(cue->tracks[2].index0, std::nullopt);
  EXPECT_EQ(cue->tracks[2].index1, 0u);
}

TEST(CueSheet, FileNamesStayInsideTheSheetsFolder) {
  test::TempDir dir;
  dir.write("secret.bin", "not the disc's");
  dir.write("disc/Track One.BIN", "1");
  dir.write("disc/Sub/x.bin", "x");
  dir.write("disc/表/ソ.bin", "s");  // as a copy from Windows names them on Linux
  dir.write("disc/あ/x.bin", "a");
  const fs::path disc = dir.path() / "disc";
  struct Case {
    std::string name;
    fs::path file;      // empty: refused
    std::string error;
  } cases[] = {
      {"track one.bin", disc / "Track One.BIN", ""},
      {"SUB\\X.BIN", disc / "Sub" / "x.bin", ""},
      {"./sub/x.bin", disc / "Sub" / "x.bin", ""},
      {toSjis("表\\ソ.BIN"), disc / "表" / "ソ.bin", ""},  // 表 and ソ end in the byte of '\\'
      {"表/ソ.bin", disc / "表" / "ソ.bin", ""},
      {"あ\\X.BIN", disc / "あ" / "x.bin", ""},  // UTF-8: あ ends in 0x82, a Shift-JIS lead byte
      {"../secret.bin", {}, "FILE \"../secret.bin\" leaves the sheet's folder"},
      {"sub/../../secret.bin", {}, "FILE \"sub/../../secret.bin\" leaves the sheet's folder"},
      {"..\\secret.bin", {}, "FILE \"..\\secret.bin\" leaves the sheet's folder"},
      {(dir.path() / "secret.bin").string(), {}, "FILE \"" + (dir.path() / "secret.bin").string() +
                                                      "\" is not inside the sheet's folder (an absolute name)"},
      {"C:\\secret.bin", {}, "FILE \"C:\\secret.bin\" is not inside the sheet's folder (an absolute name)"},
      {"none.bin", {}, "FILE \"none.bin\" is missing"},
  };
  for (const Case& c : cases) {
    std::string error;
    auto file = resolveCueFile(disc, c.name, error);
    EXPECT_EQ(file.value_or(fs::path()), c.file) << c.name;
    if (!file) {
      EXPECT_EQ(error, c.error) << c.name;
    }
  }
}

}  // namespace
}  // namespace kelvox::platform
