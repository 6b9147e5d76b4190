// The demo's generated assets: the same bytes on every run, and every file one the engine's
// own readers take: pictures within the screen, canonical WAV files, Standard MIDI Files and a
// disc track of about fifty seconds of stereo sound.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "graphics/decoded_image.h"
#include "graphics/image_format.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/png_decoder.h"
#include "platform/cd/track_decoder.h"
#include "sound/midi_synth.h"
#include "sound/wav_file.h"
#include "support/test_game.h"

namespace kelvox::games {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Every file below [root], by its path relative to it.
std::map<std::string, std::vector<uint8_t>> filesBelow(const fs::path& root) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = bytesOf(entry.path());
  return files;
}

bool generate(const fs::path& into) {
  std::string command = std::string(KELVOX_DEMO_ASSETS) + " '" + into.string() + "' TESTDISC";
  return std::system(command.c_str()) == 0;
}

TEST(DemoAssets, AreTheSameOnEveryRunAndReadableByTheEngine) {
  test::TempDir first, second;
  ASSERT_TRUE(generate(first.path()));
  ASSERT_TRUE(generate(second.path()));
  const auto files = filesBelow(first.path());
  EXPECT_TRUE(files == filesBelow(second.path()));

  size_t pictures = 0, sounds = 0, pieces = 0;
  for (const auto& [name, bytes] : files) {
    const std::string folder = fs::path(name).parent_path().string();
    if (folder == "Grd") {
      graphics::DecodedImage image;
      auto format = graphics::detectImageFormatOfBytes(bytes);
      ASSERT_NE(format, graphics::ImageFormat::None) << name;
      EXPECT_NO_THROW(format == graphics::ImageFormat::Png ? graphics::decodePngBytes(image, bytes, name)
                                                           : graphics::decodeJpegBytes(image, bytes, name))
          << name;
      EXPECT_TRUE(image.width() >= 1 && image.width() <= 640 && image.height() >= 1 && image.height() <= 480) << name;
      ++pictures;
    } else if (folder == "Wav") {
      auto wav = sound::readWav(bytes);
      ASSERT_TRUE(wav) << name;
      // The canonical layout: a 16-byte "fmt " chunk at 12 and "data" right after it, at 36.
      EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "fmt ") << name;
      EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data") << name;
      EXPECT_EQ(wav->data.size() + 44, bytes.size()) << name;
      ++sounds;
    } else if (folder == "Midi") {
      EXPECT_TRUE(sound::isStandardMidiFile(bytes)) << name;
      ++pieces;
    }
  }
  EXPECT_EQ(pictures, 24u);
  EXPECT_EQ(sounds, 6u);
  EXPECT_EQ(pieces, 3u);

  platform::TrackDecoder track(first.path() / "Discs" / "TESTDISC" / "track02.ogg");
  ASSERT_TRUE(track.isOpen()) << track.error();
  const double seconds = static_cast<double>(track.frames()) / platform::TrackDecoder::kRate;
  EXPECT_GT(seconds, 45);
  EXPECT_LT(seconds, 60);
  std::vector<float> stereo(2 * 44100);
  ASSERT_EQ(track.read(stereo.data(), 44100), 44100u);
  float loudest = 0;
  for (float s : stereo) loudest = std::max(loudest, std::abs(s));
  EXPECT_GT(loudest, 0.05f);  // the first second already plays
}

}  // namespace
}  // namespace kelvox::games
