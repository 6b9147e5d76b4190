// LoadPattern and GeneratePattern on a headless game: where files are found, what is recorded
// as seen, the reload skip, replacement, bad files and single colours.
#include "graphics/pattern_loader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/pattern_store.h"
#include "picture_files.h"
#include "shell/screen_mode_group.h"
#include "support/test_game.h"

namespace kelvox::graphics {
namespace {

std::string text(const test::Bytes& b) { return std::string(b.begin(), b.end()); }

struct Loader : ::testing::Test {
  kelvox::test::TestGame game{".code\nEnd\n",
                              {{"Grd/ea.png", text(test::writePng(3, 2, 2, 8, false))},
                               {"Grd/other.png", text(test::writePng(2, 2, 6, 8, false))},
                               {"Disc/Grd/far.png", text(test::writePng(1, 1, 2, 8, false))},
                               {"Grd/plain.txt", "hello\nNG later"},
                               {"Grd/neither.png", "no signature\n\x89PNG"}}};
  vm::MachineContext& m = game.m();
  PatternHandle entry;
  TPatternRef* ref() { return findPattern(*m.display, entry); }
  void SetUp() override {
    std::filesystem::create_directory(game.dir.path() / "Save");
    shell::setScreenMode(m, 0, 48, 64);
  }
  void TearDown() override {
    if (ref()) Destroy(*m.display, ref());
  }
};

TEST_F(Loader, APictureLoadsWithItsPixelsAndIsRecordedAsSeen) {
  LoadPattern(m, entry, 3, "ea.png");
  ASSERT_NE(ref(), nullptr);
  TPattern& p = *ref()->pattern;
  EXPECT_EQ(p.width, 3);
  EXPECT_EQ(p.height, 2);
  EXPECT_EQ(p.drawMode, 3);
  EXPECT_EQ(p.name, "Grd\\ea.png");
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      uint32_t rgb = uint32_t{test::sampleAt(x, y, 0, 8)} << 16 | uint32_t{test::sampleAt(x, y, 1, 8)} << 8 |
                     test::sampleAt(x, y, 2, 8);
      EXPECT_EQ(p.pixels[static_cast<size_t>(y * 3 + x)], rgb) << x << "," << y;
      EXPECT_EQ(p.surface->rawPixel(x, y), rgb);  // depth 32: the same word
    }
  EXPECT_TRUE(m.systemList.contains("\\ea.png"));
  EXPECT_TRUE(std::filesystem::exists(game.dir.path() / "Save" / "Sys"));
}

TEST_F(Loader, TheSameFileIsNotLoadedAgainNotEvenForANewMode) {
  LoadPattern(m, entry, 0, "ea.png");
  TPatternRef* first = ref();
  PatternHandle handle = ref()->handle;
  LoadPattern(m, entry, 4, "ea.png");
  EXPECT_EQ(ref(), first);
  EXPECT_EQ(ref()->pattern->drawMode, 0);
  // Another file replaces it: the old pattern is gone for every sprite.
  LoadPattern(m, entry, 4, "other.png");
  EXPECT_EQ(findPattern(*m.display, handle), nullptr);
  EXPECT_EQ(ref()->pattern->name, "Grd\\other.png");
  EXPECT_EQ(ref()->pattern->surface->memory(), platform::SurfaceMemory::System);  // mode 4 blends
  EXPECT_FALSE(m.systemList.contains("\\other.png"));  // only names starting with e
}

TEST_F(Loader, TheSearchPathIsTheSecondPlace) {
  m.searchPath = "Disc\\";
  m.recordSeenImages = 0;
  LoadPattern(m, entry, 0, "far.png");
  ASSERT_NE(ref(), nullptr);
  EXPECT_EQ(ref()->pattern->name, "Disc\\Grd\\far.png");
}

TEST_F(Loader, BadNamesAndFilesRaise17) {
  const struct { const char* name; const char* message; } cases[] = {
      {"missing.png", "Grd\\missing.pngが存在しませんでした"},
      {"..\\Save\\Sys", "Grd\\..\\Save\\Sysが存在しませんでした"},
      {"neither.png", "neither.pngのフォーマットに不正が見られます"},
  };
  for (auto c : cases) {
    std::string error = kelvox::test::errorOf([&] { LoadPattern(m, entry, 0, c.name); });
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_NE(error.find("17"), std::string::npos) << error;
    EXPECT_EQ(ref(), nullptr);
  }
  LoadPattern(m, entry, 0, "");  // nothing at all
  EXPECT_EQ(ref(), nullptr);
}

TEST_F(Loader, GeneratedPatternsAreOneColour) {
  GeneratePattern(m, entry, 1, 0x123456, 5, 3);
  TPattern& p = *ref()->pattern;
  EXPECT_EQ(p.pixels, std::vector<uint32_t>(15, 0x123456));
  EXPECT_EQ(p.surface->rawPixel(4, 2), 0x123456u);
  EXPECT_TRUE(p.name.empty());
  GeneratePattern(m, entry, 1, 0, 2, 2);
  EXPECT_EQ(ref()->pattern->surface->rawPixel(1, 1), 0u);  // the key: wholly transparent
  EXPECT_NE(kelvox::test::errorOf([&] { GeneratePattern(m, entry, 0, 1, 100000, 100000); }).find("53"),
            std::string::npos);
}

}  // namespace
}  // namespace kelvox::graphics
