// Screenshots: the PNG written holds the pixels given, and a failed write leaves nothing.
#include "platform/surfaces/png_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "graphics/png_decoder.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

TEST(PngWriter, ThePictureReadsBackPixelForPixel) {
  kelvox::test::TempDir dir;
  const uint32_t pixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0, 0xFFFFFF};
  std::string error;
  auto file = dir.path() / "shot.png";
  ASSERT_TRUE(writePngFile(file, pixels, 3, 2, error)) << error;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "shot.png.part"));
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  graphics::DecodedImage image;
  graphics::decodePngBytes(image, bytes, "shot.png");
  ASSERT_EQ(image.width(), 3);
  ASSERT_EQ(image.height(), 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(image.pixel(i % 3, i / 3) & 0xFFFFFF, pixels[i]) << i;
}

TEST(PngWriter, FailuresLeaveNothingBehind) {
  kelvox::test::TempDir dir;
  const uint32_t pixel = 0;
  std::string error;
  EXPECT_FALSE(writePngFile(dir.path() / "none.png", nullptr, 1, 1, error));
  EXPECT_FALSE(writePngFile(dir.path() / "missing" / "x.png", &pixel, 1, 1, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace kelvox::platform
