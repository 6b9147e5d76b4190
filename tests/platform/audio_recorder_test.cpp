// Recording the headless device's pulls into a WAV file: the samples in order, the header's
// sizes at the end, the temporary file renamed into place.
#include "platform/audio_recorder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/headless_audio.h"
#include "support/file_tree.h"
#include "support/test_game.h"

namespace kelvox::platform {
namespace {

struct RampSource final : AudioSource {
  int16_t next = 0;
  void render(std::span<int16_t> out) override {
    for (auto& s : out) s = next++;
  }
};

uint32_t le32(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 | static_cast<uint8_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

TEST(AudioRecorder, WritesWhatWasPlayedAsACanonicalWav) {
  test::TempDir dir;
  VirtualClock clock;
  clock.setCostPerRead(0);
  HeadlessAudio device(clock);
  AudioRecorder recorder(device);
  std::string error;
  ASSERT_TRUE(recorder.start(dir.path() / "out.wav", error)) << error;
  RampSource source;
  ASSERT_TRUE(recorder.open(source));
  clock.advance(250);  // 11025 frames
  recorder.update();
  recorder.close();
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.wav")) << "only at finish";
  ASSERT_TRUE(recorder.finish(error)) << error;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.wav.part"));

  std::string file = dir.read("out.wav");
  const uint32_t data = 11025 * 4;
  ASSERT_EQ(file.size(), 44 + data);
  EXPECT_EQ(file.substr(0, 4), "RIFF");
  EXPECT_EQ(le32(file, 4), 36 + data);
  EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(le32(file, 16), 16u);
  EXPECT_EQ(le32(file, 20), 1u | 2u << 16);          // PCM, two channels
  EXPECT_EQ(le32(file, 24), 44100u);
  EXPECT_EQ(le32(file, 28), 176400u);                // bytes per second
  EXPECT_EQ(le32(file, 32), 4u | 16u << 16);         // block alignment 4, 16 bits
  EXPECT_EQ(file.substr(36, 4), "data");
  EXPECT_EQ(le32(file, 40), data);
  EXPECT_EQ(le32(file, 44 + 4 * 1000), (2000u & 0xFFFF) | 2001u << 16) << "frame 1000 in order";
}

struct NoSoundCard final : AudioDevice {
  bool open(AudioSource&) override { return false; }
  void close() override {}
  bool isOpen() const override { return false; }
  void update() override {}
};

TEST(AudioRecorder, WithoutASoundCardTheClockedFallbackRecords) {
  test::TempDir dir;
  VirtualClock clock;
  clock.setCostPerRead(0);
  NoSoundCard card;
  HeadlessAudio clocked(clock);
  std::string error;
  RampSource source;
  {
    AudioRecorder without(card);
    EXPECT_FALSE(without.open(source)) << "no fallback: no device";
  }
  AudioRecorder recorder(card, &clocked);
  ASSERT_TRUE(recorder.start(dir.path() / "out.wav", error)) << error;
  ASSERT_TRUE(recorder.open(source));
  clock.advance(1000);
  recorder.update();
  recorder.close();
  ASSERT_TRUE(recorder.finish(error)) << error;
  EXPECT_EQ(dir.read("out.wav").size(), 44u + 44100 * 4);
}

TEST(AudioRecorder, AFifoWithAReaderOrADeviceIsWrittenAsAStream) {
  test::TempDir dir;
  test::makeFifo(dir.path() / "read.fifo");
  test::makeFifo(dir.path() / "unread.fifo");
  // A quarter of a second (44 KB) fits in the pipe's buffer: nobody need read during the run.
  int reader = ::open((dir.path() / "read.fifo").c_str(), O_RDONLY | O_NONBLOCK);
  auto before = test::snapshotFiles(dir.path());
  for (auto [target, ok] : {std::pair{dir.path() / "read.fifo", true}, {"/dev/null", true}, {dir.path() / "unread.fifo", false}}) {
    VirtualClock clock;
    clock.setCostPerRead(0);
    HeadlessAudio device(clock);
    AudioRecorder recorder(device);
    std::string error;
    RampSource source;
    bool started = recorder.start(target, error);
    EXPECT_EQ(started, ok) << target << error;
    if (!started) continue;
    recorder.open(source);
    clock.advance(250);  // 11025 frames
    recorder.update();
    recorder.close();
    EXPECT_TRUE(recorder.finish(error)) << target << error;
  }
  std::string heard(64 << 10, '\0');
  heard.resize(static_cast<size_t>(std::max<ssize_t>(::read(reader, heard.data(), heard.size()), 0)));
  ::close(reader);
  EXPECT_EQ(test::snapshotFiles(dir.path()), before);  // nothing replaced, nothing left behind
  // The header claims the most a WAV holds; the frames follow in order.
  ASSERT_EQ(heard.size(), 44u + 11025 * 4);
  EXPECT_EQ(le32(heard, 4), kStreamDataBytes + 36);
  EXPECT_EQ(le32(heard, 40), kStreamDataBytes);
  EXPECT_EQ(le32(heard, 44 + 4 * 1000), (2000u & 0xFFFF) | 2001u << 16);
}

}  // namespace
}  // namespace kelvox::platform
