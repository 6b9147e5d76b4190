// DecodeJpeg on pictures written by libjpeg itself, baseline and progressive, compared with
// the colours written within the loss of quality 95; then damaged and hostile files, each of
// which must end in a FatalError and never in libjpeg's exit().
#include "graphics/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/picture_files.h"
#include "platform/paths.h"
#include "support/test_game.h"

namespace kelvox::graphics {
namespace {

using test::Bytes;

constexpr int kTolerance = 8;  // per channel, for quality 95 without chroma subsampling

void expectNear(uint32_t got, uint32_t want, int x, int y) {
  for (int shift : {0, 8, 16})
    ASSERT_LE(std::abs(int(got >> shift & 0xFF) - int(want >> shift & 0xFF)), kTolerance)
        << "pixel " << x << "," << y << std::hex << " got " << got << " want " << want;
  ASSERT_EQ(got >> 24, 0u);
}

TEST(DecodeJpeg, BaselineAndProgressiveDecodeToTheirColours) {
  struct Case {
    bool progressive;
    int width, height;
  };
  const Case cases[] = {{false, 37, 21}, {true, 37, 21}, {false, 8, 8}, {true, 1, 1}, {false, 64, 3}};
  for (const auto& c : cases) {
    Bytes file = test::writeJpeg(c.width, c.height, c.progressive);
    DecodedImage image;
    ASSERT_NO_THROW(decodeJpegBytes(image, file, "x.jpg"));
    ASSERT_EQ(image.width(), c.width);
    ASSERT_EQ(image.height(), c.height);
    EXPECT_EQ(image.pitch(), c.width * 4);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) expectNear(image.pixel(x, y), test::jpegColourAt(x, y), x, y);
  }
}

TEST(DecodeJpeg, GreyscaleComesOutGrey) {
  Bytes file = test::writeJpeg(20, 10, false, /*greyscale=*/true);
  DecodedImage image;
  ASSERT_NO_THROW(decodeJpegBytes(image, file, "x.jpg"));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      uint32_t g = uint32_t((x + y) * 2);
      expectNear(image.pixel(x, y), g << 16 | g << 8 | g, x, y);
    }
}

// The offset of the first SOFn marker's height field (FF C0 or FF C2, then length, precision).
size_t heightField(const Bytes& file) {
  for (size_t i = 2; i + 9 < file.size(); ++i)
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) return i + 5;
  ADD_FAILURE() << "no SOF marker";
  return 0;
}

// [file] with its frame header saying [width] × [height].
Bytes withSize(Bytes file, int width, int height) {
  size_t at = heightField(file);
  file[at] = uint8_t(height >> 8), file[at + 1] = uint8_t(height);
  file[at + 2] = uint8_t(width >> 8), file[at + 3] = uint8_t(width);
  return file;
}

TEST(DecodeJpeg, DamagedFilesRaise17NamingTheFile) {
  const Bytes baseline = test::writeJpeg(48, 40, false), progressive = test::writeJpeg(48, 40, true);
  Bytes noQuantisation = baseline;
  for (size_t i = 2; i + 1 < noQuantisation.size(); ++i)
    if (noQuantisation[i] == 0xFF && noQuantisation[i + 1] == 0xDB) noQuantisation[i + 1] = 0xFE;  // now comments
  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"baseline cut in half", Bytes(baseline.begin(), baseline.begin() + baseline.size() / 2)},
      {"progressive cut in half", Bytes(progressive.begin(), progressive.begin() + progressive.size() / 2)},
      {"cut inside the header", Bytes(baseline.begin(), baseline.begin() + 30)},
      {"only the start marker", Bytes{0xFF, 0xD8, 0xFF}},
      {"empty", Bytes()},
      {"no quantisation tables", noQuantisation},
      {"zero height", withSize(baseline, 48, 0)},
      {"zero width", withSize(baseline, 0, 40)},
      {"huge dimensions", withSize(baseline, 60000, 60000)},
      {"over the pixel cap", withSize(progressive, 16384, 16384)},
      {"not a JPEG", Bytes{'N', 'G', 0xFF, 0xD8, 0xFF, 0, 1, 2, 3}},
  };
  for (const auto& c : cases) {
    DecodedImage image;
    EXPECT_EQ(kelvox::test::errorOf([&] { decodeJpegBytes(image, c.file, "ev01.jpg"); }),
              "ev01.jpgのフォーマットに不正が見られます(17)")
        << c.what;
    EXPECT_TRUE(image.empty()) << c.what;
  }
}

TEST(DecodeJpeg, ReadsTheFileThroughTheGamePaths) {
  kelvox::test::TempDir dir;
  Bytes file = test::writeJpeg(5, 4, true);
  dir.write("Grd/ev01.jpg", std::string(file.begin(), file.end()));
  platform::Paths paths(dir.path());
  DecodedImage image;
  EXPECT_NO_THROW(DecodeJpeg(image, paths, "Grd\\EV01.JPG", "EV01.JPG"));
  EXPECT_EQ(image.height(), 4);
  EXPECT_EQ(kelvox::test::errorOf([&] { DecodeJpeg(image, paths, "Grd\\none.jpg", "none.jpg"); }),
            "グラフィックデータのオープンに失敗しました(37)");
}

}  // namespace
}  // namespace kelvox::graphics
