// DecodePng on pictures written by libpng itself: every colour type and depth, interlaced or
// not, compared pixel by pixel with the samples written; then damaged and hostile files, each
// of which must end in a FatalError and nothing worse.
#include "graphics/png_decoder.h"

#include <gtest/gtest.h>

#include "common/fatal_error.h"
#include "graphics/picture_files.h"
#include "platform/paths.h"
#include "support/test_game.h"

namespace kelvox::graphics {
namespace {

using test::Bytes;

// The fatal error code [work] raises, or -1 if it raises none.
template <typename Work>
int faultCodeOf(Work&& work) {
  try {
    work();
  } catch (const common::FatalError& e) {
    return e.code();
  }
  return -1;
}

// The 8-bit value a decoded sample must have: 16-bit samples keep their high byte.
uint32_t eightBits(uint16_t sample, int bitDepth) { return bitDepth == 16 ? sample >> 8 : sample; }

TEST(DecodePng, TrueColourPicturesDecodeToTheirSamples) {
  struct Case {
    int colourType, bitDepth;
    bool interlaced;
    int width, height;
  };
  const Case cases[] = {
      {2, 8, false, 13, 7}, {2, 16, false, 5, 9}, {6, 8, false, 11, 3},  {6, 16, false, 4, 4},
      {2, 8, true, 17, 11}, {6, 16, true, 9, 10}, {2, 8, false, 1, 1},   {6, 8, true, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.colourType << " bits " << c.bitDepth << " interlaced "
                                    << c.interlaced);
    Bytes file = test::writePng(c.width, c.height, c.colourType, c.bitDepth, c.interlaced);
    DecodedImage image;
    ASSERT_NO_THROW(decodePngBytes(image, file, "x.png"));
    ASSERT_EQ(image.width(), c.width);
    ASSERT_EQ(image.height(), c.height);
    EXPECT_EQ(image.pitch(), c.width * 4);
    EXPECT_EQ(image.PixelAddress(0, 0), image.firstRow());
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        // Alpha (channel 3) is dropped; the top byte is 0.
        uint32_t want = eightBits(test::sampleAt(x, y, 0, c.bitDepth), c.bitDepth) << 16 |
                        eightBits(test::sampleAt(x, y, 1, c.bitDepth), c.bitDepth) << 8 |
                        eightBits(test::sampleAt(x, y, 2, c.bitDepth), c.bitDepth);
        ASSERT_EQ(image.pixel(x, y), want) << x << "," << y;
      }
  }
}

TEST(DecodePng, PaletteAndGreyscalePicturesRaise38) {
  struct Case {
    int colourType, bitDepth;
    bool interlaced;
  };
  const Case cases[] = {{0, 8, false}, {0, 16, false}, {0, 8, true}, {3, 8, false},
                        {3, 8, true},  {4, 8, false},  {4, 16, false}};
  for (const auto& c : cases) {
    Bytes file = test::writePng(6, 5, c.colourType, c.bitDepth, c.interlaced);
    DecodedImage image;
    EXPECT_EQ(faultCodeOf([&] { decodePngBytes(image, file, "x.png"); }), 38)
        << "type " << c.colourType << " bits " << c.bitDepth;
    EXPECT_TRUE(image.empty());
  }
  DecodedImage image;
  EXPECT_EQ(kelvox::test::errorOf([&] { decodePngBytes(image, test::writePng(2, 2, 3, 8, false), "x"); }),
            "グラフィックデータのフォーマットが未対応でした(38)");
}

// A valid picture with one byte changed at [offset] from its end ([fromEnd]) or start.
Bytes damaged(Bytes file, size_t offset, bool fromEnd = false) {
  file[fromEnd ? file.size() - 1 - offset : offset] ^= 0x55;
  return file;
}

TEST(DecodePng, DamagedFilesRaise17NamingTheFile) {
  const Bytes good = test::writePng(40, 30, 2, 8, false);
  Bytes hugeIdat = test::pngHeaderOnly(16384, 16384);  // within libpng's limit, over our pixel cap
  for (const Bytes& chunk : {test::pngChunk("IDAT", {0x78, 0x9C, 0x03, 0x00}), test::pngChunk("IEND", {})})
    hugeIdat.insert(hugeIdat.end(), chunk.begin(), chunk.end());
  Bytes zeroWidth = test::pngHeaderOnly(0, 10);
  Bytes idatOnly = test::pngHeaderOnly(4, 4);
  Bytes junk = test::pngChunk("IDAT", {1, 2, 3, 4, 5, 6, 7, 8});  // not a zlib stream
  idatOnly.insert(idatOnly.end(), junk.begin(), junk.end());

  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"bad IHDR CRC", damaged(good, 29)},
      {"IDAT byte changed", damaged(good, 60)},
      {"last IDAT byte changed", damaged(good, 16, true)},
      {"cut after the signature", Bytes(good.begin(), good.begin() + 8)},
      {"cut inside IHDR", Bytes(good.begin(), good.begin() + 20)},
      {"cut inside IDAT", Bytes(good.begin(), good.begin() + good.size() / 2)},
      {"cut before IEND", Bytes(good.begin(), good.end() - 12)},
      {"shorter than a signature", Bytes(good.begin(), good.begin() + 5)},
      {"empty", Bytes()},
      {"huge dimensions", test::pngHeaderOnly(100000, 100000)},
      {"over the pixel cap", hugeIdat},
      {"zero width", zeroWidth},
      {"zero height", test::pngHeaderOnly(10, 0)},
      {"IDAT not deflate", idatOnly},
      {"a text file", Bytes{'P', 'N', 'G', ' ', 'i', 's', ' ', 'n', 'o', 't', ' ', 'h', 'e', 'r', 'e', '\n'}},
  };
  for (const auto& c : cases) {
    DecodedImage image;
    EXPECT_EQ(kelvox::test::errorOf([&] { decodePngBytes(image, c.file, "bg01.png"); }),
              "bg01.pngのフォーマットに不正が見られます(17)")
        << c.what;
    EXPECT_TRUE(image.empty()) << c.what;
  }
}

TEST(DecodePng, DamagedAncillaryChunkIsSkipped) {
  // A text chunk with a wrong CRC between IHDR and IDAT: libpng drops it and the picture loads.
  Bytes good = test::writePng(3, 2, 2, 8, false);
  Bytes text = test::pngChunk("tEXt", {'a', 0, 'b'});
  text.back() ^= 1;
  good.insert(good.begin() + 33, text.begin(), text.end());
  DecodedImage image;
  ASSERT_NO_THROW(decodePngBytes(image, good, "x.png"));
  EXPECT_EQ(image.pixel(2, 1), test::sampleAt(2, 1, 0, 8) << 16 | test::sampleAt(2, 1, 1, 8) << 8 | test::sampleAt(2, 1, 2, 8));
}

TEST(DecodePng, ReadsTheFileThroughTheGamePaths) {
  kelvox::test::TempDir dir;
  Bytes file = test::writePng(2, 3, 6, 8, false);
  dir.write("Grd/Pic.png", std::string(file.begin(), file.end()));
  platform::Paths paths(dir.path());
  DecodedImage image;
  EXPECT_NO_THROW(DecodePng(image, paths, "grd\\pic.PNG", "pic.PNG"));
  EXPECT_EQ(image.width(), 2);
  EXPECT_NO_THROW(image.Release());
  EXPECT_TRUE(image.empty());
  EXPECT_EQ(image.PixelAddress(0, 0), nullptr);
  EXPECT_EQ(kelvox::test::errorOf([&] { DecodePng(image, paths, "Grd\\none.png", "none.png"); }),
            "グラフィックデータのオープンに失敗しました(37)");
}

}  // namespace
}  // namespace kelvox::graphics
