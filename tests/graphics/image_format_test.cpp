// DetectImageFormat: the first line decides (a line ends at CR, LF or a zero byte), JPEG's
// FF D8 FF before PNG's "NG", and nothing after the line counts.
#include "graphics/image_format.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/paths.h"
#include "support/test_game.h"

namespace kelvox::graphics {
namespace {

std::span<const uint8_t> bytesOf(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

struct Case {
  const char* what;
  std::string bytes;
  ImageFormat format;
};
const Case kCases[] = {
    {"PNG signature", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), ImageFormat::Png},
    {"JFIF start", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), ImageFormat::Jpeg},
    {"Exif start", "\xFF\xD8\xFF\xE1\x12\x34" "Exif", ImageFormat::Jpeg},
    {"both: JPEG wins", "NG\xFF\xD8\xFF", ImageFormat::Jpeg},
    {"both, NG last", "\xFF\xD8\xFFNG", ImageFormat::Jpeg},
    {"NG anywhere in the line", "some text with NG in it\n", ImageFormat::Png},
    {"lower case ng", "\x89png\r\n", ImageFormat::None},
    {"N and G split by CR", "N\rG", ImageFormat::None},
    {"signatures on line 2", "GIF89a\nNG \xFF\xD8\xFF", ImageFormat::None},
    {"a zero byte ends the line", std::string("ab\0NG", 5), ImageFormat::None},
    {"FF D8 then a line end", "\xFF\xD8\n\xFF", ImageFormat::None},
    {"FF D8 FF split as FF FF D8", "\xFF\xFF\xD8", ImageFormat::None},
    {"FF FF D8 FF", "\xFF\xFF\xD8\xFF", ImageFormat::Jpeg},
    {"empty file", "", ImageFormat::None},
    {"a bitmap", "BM6\x10\x0E", ImageFormat::None},
};

TEST(DetectImageFormat, FirstLineInMemory) {
  for (const auto& c : kCases) EXPECT_EQ(detectImageFormatOfBytes(bytesOf(c.bytes)), c.format) << c.what;
}

TEST(DetectImageFormat, SignatureSplitBetweenPieces) {
  // Fed one byte at a time, the scanner must see signatures that cross piece boundaries.
  for (const auto& c : kCases) {
    FirstLineScanner scanner;
    for (size_t i = 0; i < c.bytes.size() && !scanner.done(); ++i) scanner.feed(bytesOf(c.bytes).subspan(i, 1));
    EXPECT_EQ(scanner.result(), c.format) << c.what;
  }
}

TEST(DetectImageFormat, FromAFileThroughTheGamePaths) {
  kelvox::test::TempDir dir;
  // A long first line: the signature sits past the first pieces the reader takes.
  dir.write("Grd/long.png", std::string(1000, 'x') + "NG" + std::string(1000, 'y'));
  dir.write("Grd/jpeg.jpg", std::string("\xFF\xD8\xFF\xDB\0\x43", 6) + std::string(5000, '\xFF'));
  dir.write("Grd/second.png", std::string(300, 'x') + "\nNG");
  platform::Paths paths(dir.path());
  EXPECT_EQ(DetectImageFormat(paths, "Grd\\long.png"), ImageFormat::Png);
  EXPECT_EQ(DetectImageFormat(paths, "GRD\\JPEG.JPG"), ImageFormat::Jpeg);
  EXPECT_EQ(DetectImageFormat(paths, "Grd\\second.png"), ImageFormat::None);
  EXPECT_EQ(kelvox::test::errorOf([&] { DetectImageFormat(paths, "Grd\\missing.png"); }),
            "グラフィックデータのオープンに失敗しました(37)");
}

}  // namespace
}  // namespace kelvox::graphics
