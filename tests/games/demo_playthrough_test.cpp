// The demo game played by the kelvox program from the title to the ending, headless on the
// virtual clock, with the scripted input that `make run` uses without a display: what the
// screen shows at the key scenes, the files the game leaves behind, the music of the title,
// and a second start that finds the ending's flag and loads the saved game.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "support/test_game.h"

namespace kelvox::games {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Runs kelvox with [args] (no quote in them); its standard output, and its status in [status].
std::string runKelvox(const std::string& args, int& status) {
  std::string command = std::string(KELVOX_BINARY_DIR) + "/kelvox " + args + " 2>&1";
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  char chunk[4096];
  size_t n;
  while (pipe && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
  status = pipe ? pclose(pipe) : -1;
  return out;
}

struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // The colours in the rectangle [x0, x1) × [y0, y1), with how often each occurs.
  std::map<uint32_t, int> colours(int x0, int y0, int x1, int y1) const {
    std::map<uint32_t, int> seen;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) ++seen[at(x, y)];
    return seen;
  }
  std::vector<uint32_t> region(int x0, int y0, int x1, int y1) const {
    std::vector<uint32_t> out;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) out.push_back(at(x, y));
    return out;
  }
  double meanRed(int x0, int y0, int x1, int y1) const {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) sum += at(x, y) >> 16;
    return sum / ((x1 - x0) * (y1 - y0));
  }
};

Picture readPng(const fs::path& file) {
  Picture p;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return p;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return p;
  p.width = static_cast<int>(image.width);
  p.height = static_cast<int>(image.height);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) p.pixels.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
  return p;
}

// The game's system record, unscrambled.
std::string systemRecord(const fs::path& game) {
  std::string sys = readAll(game / "Save" / "Sys");
  for (char& c : sys) c = static_cast<char>(c ^ 0x5C);
  return sys;
}

uint32_t wordAt(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes.at(at + i));
  return v;
}

// The engine's own error boxes carry the program's caption; debug boxes are captioned "Debug".
bool showsAnErrorBox(const std::string& output) { return output.find("caption=Zarveth Ver1.10") != std::string::npos; }

// Runs the scripted play-through in [game]; its screenshots and sound go to [dir].
std::string playThrough(const fs::path& game, const fs::path& dir, int& status) {
  const fs::path input = fs::path(KELVOX_SOURCE_DIR) / "tests" / "games" / "demo-playthrough.input";
  // The frames the input marks with "# shot TICK NAME".
  std::string shots;
  std::istringstream lines(readAll(input));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string hash, shot, tick, name;
    if (words >> hash >> shot >> tick >> name && hash == "#" && shot == "shot")
      shots += " --screenshot-at " + tick + ":" + (dir / (name + ".png")).string();
  }
  return runKelvox("--headless --fast --frames 7000 --input " + input.string() + " --audio-out " +
                       (dir / "sound.wav").string() + shots + " " + game.string(),
                   status);
}

void expectKeyScenes(const fs::path& dir) {
  auto shot = [&](const char* name) { return readPng(dir / (std::string(name) + ".png")); };
  const Picture text = shot("text"), saved = shot("saved"), end = shot("end");
  const Picture title = shot("title"), dawnTitle = shot("dawn_title"), gallery = shot("gallery");
  for (const Picture* p : {&text, &saved, &end, &title, &dawnTitle, &gallery}) ASSERT_EQ(p->width, 640);
  // The narrator's line is drawn in the narrator's colour inside the text box.
  EXPECT_GT(text.colours(40, 362, 600, 462)[0xF4F0FF], 100);
  // The saved slot's thumbnail is a picture; the empty slot below it is one colour.
  EXPECT_GT(saved.colours(56, 62, 168, 146).size(), 200u);
  EXPECT_EQ(saved.colours(56, 154, 168, 238).size(), 1u);
  // "おわり" in gold.
  EXPECT_GT(end.colours(400, 200, 600, 250)[0xFFD88A], 50);
  // After the ending the title's sky is at dawn, and a golden line says the ending was seen.
  EXPECT_GT(dawnTitle.meanRed(0, 200, 380, 260), title.meanRed(0, 200, 380, 260) + 60);
  EXPECT_GT(dawnTitle.colours(40, 186, 400, 212)[0xFFD88A], 20);
  EXPECT_EQ(title.colours(40, 186, 400, 212).count(0xFFD88A), 0u);
  // The gallery shows the pictures seen on the way (the hill) and keeps the telescope's
  // locked, since the play went to the roof.
  EXPECT_GT(gallery.colours(60, 90, 220, 210).size(), 1000u);   // a painting: thousands
  EXPECT_LT(gallery.colours(240, 90, 400, 210).size(), 300u);    // the lock: a few edges
}

void expectSavedGamesAndTheFlag(const fs::path& game) {
  const size_t dataSize = fs::file_size(game / "Script" / "Data.ssb");
  for (const char* name : {"Save00", "SaveQ"}) {
    std::string state = readAll(game / "Save" / name);
    for (char& c : state) c = static_cast<char>(c ^ 0x5C);
    ASSERT_GE(state.size(), 16u) << name;
    // pc, data size, return and parameter stack counts, then the data and the stacks.
    EXPECT_EQ(wordAt(state, 4), dataSize) << name;
    EXPECT_EQ(state.size(), 16 + dataSize + 4 * (wordAt(state, 8) + wordAt(state, 12))) << name;
  }
  for (const char* name : {"SSHT00", "SSHTTXT"}) {
    std::string bmp = readAll(game / "Save" / name);
    ASSERT_GE(bmp.size(), 54u) << name;
    EXPECT_EQ(bmp.substr(0, 2), "BM") << name;
    EXPECT_EQ(wordAt(bmp, 18), 112u) << name;
    EXPECT_EQ(wordAt(bmp, 28) & 0xFFFF, 32u) << name;
  }
  const std::string sys = systemRecord(game);
  ASSERT_EQ(sys.substr(0, 4), "VMSF");
  EXPECT_EQ(sys[4], 0);  // the screen mode: a window, as the first start chose
  for (const char* line : {":dawn\r\n", "\\e_hill.jpg\r\n", "\\e_roof.jpg\r\n", "\\e_meteor.jpg\r\n", "\\e_dawn.jpg\r\n"})
    EXPECT_NE(sys.find(line), std::string::npos) << line;
  EXPECT_EQ(sys.find("\\e_scope.jpg"), std::string::npos);
}

// The root mean square of the samples in seconds [from, to) of a 16-bit stereo 44100 Hz WAV.
double loudness(const std::string& wav, int from, int to) {
  double sum = 0;
  const size_t first = 44 + 4 * 44100 * static_cast<size_t>(from), count = 2 * 44100 * static_cast<size_t>(to - from);
  for (size_t i = 0; i < count && first + 2 * i + 1 < wav.size(); ++i) {
    double s = static_cast<int16_t>(wordAt(wav, first + 2 * i) & 0xFFFF);
    sum += s * s;
  }
  return std::sqrt(sum / static_cast<double>(count));
}

TEST(DemoGame, PlaysFromTheTitleToTheEndingAndLoadsItsSaveOnTheNextStart) {
  test::TempDir dir;
  const fs::path game = dir.path() / "game";
  fs::copy(fs::path(KELVOX_BINARY_DIR) / "games" / "demo", game, fs::copy_options::recursive);
  int status = 0;
  std::string out = playThrough(game, dir.path(), status);
  EXPECT_EQ(status, 0) << out;  // the play ends with 終了 on the title
  EXPECT_FALSE(showsAnErrorBox(out)) << out;
  EXPECT_EQ(out.find("[messagebox]"), std::string::npos) << out;  // debug boxes only in developer mode
  expectKeyScenes(dir.path());
  expectSavedGamesAndTheFlag(game);
  // Seconds 1 to 3: the title's music, before anything is clicked; well above silence.
  EXPECT_GT(loudness(readAll(dir.path() / "sound.wav"), 1, 3), 300.0);

  // The next start: つづきから, then the first slot once the screen of saved games is up.
  dir.write("second.input", "100 mouse 510 275\n110 down left\n112 up left\n210 mouse 320 104\n220 down left\n222 up left\n");
  out = runKelvox("--headless --fast --frames 330 --input " + (dir.path() / "second.input").string() +
                      " --screenshot-at 60:" + (dir.path() / "second-title.png").string() +
                      " --screenshot-at 320:" + (dir.path() / "loaded.png").string() + " " + game.string(),
                  status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_FALSE(showsAnErrorBox(out)) << out;
  const Picture title = readPng(dir.path() / "second-title.png"), loaded = readPng(dir.path() / "loaded.png");
  const Picture saved = readPng(dir.path() / "meteor.png");  // the line showing when it was saved
  ASSERT_EQ(title.width, 640);
  ASSERT_EQ(loaded.width, 640);
  EXPECT_GT(title.colours(40, 186, 400, 212)[0xFFD88A], 20);
  // The loaded game shows the same name, line and box over the same scene, pixel for pixel.
  EXPECT_EQ(loaded.region(20, 314, 600, 420), saved.region(20, 314, 600, 420));
  EXPECT_NE(systemRecord(game).find(":dawn\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelvox::games
