// The WAV reader and the conversion at load: what is refused, the two clamps, the chunk walk,
// and the samples that come out.
#include "sound/wav_file.h"

#include <gtest/gtest.h>

#include "sound/resample.h"
#include "sound/wav_fixtures.h"

namespace kelvox::sound {
namespace {

using test::makeWav;
using test::WavShape;

std::optional<WavImage> read(const std::string& bytes) {
  return readWav({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

TEST(WavFile, RefusesWhatNoSoundCardTakes) {
  std::string good = makeWav({}, test::constantPcm16(8, 1000));
  ASSERT_TRUE(read(good));
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"43 bytes", good.substr(0, 43)},
      {"no RIFF", "RIFX" + good.substr(4)},
      {"no WAVE", good.substr(0, 8) + "WAVX" + good.substr(12)},
      {"0 channels", makeWav({.channels = 0}, std::string(16, 1))},
      {"3 channels", makeWav({.channels = 3}, std::string(18, 1))},
      {"rate 0", makeWav({.rate = 0}, std::string(16, 1))},
      {"12-bit", makeWav({.bits = 12}, std::string(16, 1))},
      {"compressed (tag 2)", makeWav({.formatTag = 2}, std::string(16, 1))},
      {"no data after the header", makeWav({}, "")},
      {"half a frame", makeWav({.channels = 2}, std::string(3, 1))},
      {"a data size of 0", makeWav({.dataSizeField = 0}, std::string(16, 1))},
      {"no fmt chunk, no data chunk", good.substr(0, 12) + "JUNK" + std::string(4, '\xff') + good.substr(20)},
  };
  for (const Case& c : cases) EXPECT_FALSE(read(c.bytes)) << c.what;
}

TEST(WavFile, SizesClaimingMoreThanTheFileHoldsAreClamped) {
  struct Case {
    const char* what;
    WavShape shape;
    size_t dataBytes;  // in the file after the header
    size_t expected;   // bytes read
  } cases[] = {
      {"data size beyond the file: file size − 44", {.dataSizeField = 100000}, 400, 400},
      {"RIFF size beyond the file too", {.dataSizeField = 100000, .riffSizeField = 0xFFFFFFF0}, 400, 400},
      // RIFF size 136 − 36 = 100 bytes of data, though the file holds more.
      {"RIFF size cuts the data", {.dataSizeField = 400, .riffSizeField = 136}, 400, 100},
      {"RIFF size below 36 cannot reach past the file", {.dataSizeField = 100000, .riffSizeField = 20}, 400, 400},
      {"a smaller data size is kept", {.dataSizeField = 10}, 400, 10},
      {"odd bytes cut to whole frames", {.dataSizeField = 11}, 400, 10},
  };
  for (const Case& c : cases) {
    std::string bytes = makeWav(c.shape, std::string(c.dataBytes, 7));
    auto image = read(bytes);
    ASSERT_TRUE(image) << c.what;
    EXPECT_EQ(image->data.size(), c.expected) << c.what;
  }
}

TEST(WavFile, OtherLayoutsAreReadByTheirChunks) {
  std::string samples = test::constantPcm16(4, 1234);
  std::string canonical = makeWav({}, samples);
  std::string fmtBody = canonical.substr(20, 16);
  auto chunk = [](const std::string& tag, const std::string& body) {
    std::string b = tag;
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>(body.size() >> (8 * i)));
    return b + body + (body.size() % 2 ? std::string(1, '\0') : "");
  };
  auto riff = [](const std::string& chunks) {
    std::string b = "RIFF";
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((chunks.size() + 4) >> (8 * i)));
    return b + "WAVE" + chunks;
  };
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"LIST before data", riff(chunk("fmt ", fmtBody) + chunk("LIST", "abc") + chunk("data", samples))},
      {"18-byte format chunk", riff(chunk("fmt ", fmtBody + std::string(2, '\0')) + chunk("data", samples))},
      {"fact before fmt", riff(chunk("fact", "1234") + chunk("fmt ", fmtBody) + chunk("data", samples))},
  };
  for (const Case& c : cases) {
    auto image = read(c.bytes);
    ASSERT_TRUE(image) << c.what;
    EXPECT_EQ(std::string(image->data.begin(), image->data.end()), samples) << c.what;
  }
  EXPECT_FALSE(read(riff(chunk("data", samples) + chunk("fmt ", fmtBody)))) << "data before its format";
}

TEST(WavFile, ConversionToTheMixerFormat) {
  struct Case {
    const char* what;
    WavShape shape;
    std::string data;
    std::vector<int16_t> expected;  // interleaved stereo at 44100 Hz
  } cases[] = {
      {"8-bit is unsigned around 128", {.bits = 8}, std::string("\x80\xff\x00", 3), {0, 0, 127 * 256, 127 * 256, -32768, -32768}},
      {"16-bit stereo at 44100 is copied", {.channels = 2}, std::string("\x01\x00\xff\xff", 4), {1, -1}},
      // 22050 Hz: every second output frame lies halfway; the last one holds.
      {"half the rate doubles the frames", {.rate = 22050}, test::constantPcm16(1, 100) + test::constantPcm16(1, 300),
       {100, 100, 200, 200, 300, 300, 300, 300}},
      // 88200 Hz: every second input frame; ceil(3 × 44100 / 88200) = 2 frames.
      {"double the rate halves them", {.rate = 88200}, test::constantPcm16(1, 5) + test::constantPcm16(2, 9),
       {5, 5, 9, 9}},
  };
  for (const Case& c : cases) {
    std::string bytes = makeWav(c.shape, c.data);  // the image points into it
    auto image = read(bytes);
    ASSERT_TRUE(image) << c.what;
    auto buffer = convertForMixer(*image);
    ASSERT_TRUE(buffer) << c.what;
    EXPECT_EQ(buffer->samples, c.expected) << c.what;
  }
}

TEST(WavFile, ASoundThatWouldGrowBeyondTenMinutesIsRefused) {
  // 100 Hz mono 8-bit: 60001 bytes are 600.01 s, 26.46 million frames at 44100.
  std::string bytes = makeWav({.rate = 100, .bits = 8}, std::string(60001, '\x80'));
  auto image = read(bytes);
  ASSERT_TRUE(image);
  EXPECT_EQ(convertForMixer(*image), nullptr);
}

}  // namespace
}  // namespace kelvox::sound
