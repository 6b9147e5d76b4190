// The headless sound device: the source is rendered on the engine thread, exactly as many
// frames as the clock says have passed since open, in order.
#include "platform/headless_audio.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace kelvox::platform {
namespace {

// Writes a running frame number into both channels, so order and gaps show.
struct CountingSource final : AudioSource {
  int16_t next = 0;
  int calls = 0;
  void render(std::span<int16_t> out) override {
    ++calls;
    for (size_t i = 0; i + 1 < out.size(); i += 2) {
      out[i] = next;
      out[i + 1] = static_cast<int16_t>(-next);
      ++next;
    }
  }
};

TEST(HeadlessAudio, RendersWhatTheClockSaysIsDue) {
  VirtualClock clock(5000);
  clock.setCostPerRead(0);
  HeadlessAudio audio(clock);
  CountingSource source;
  audio.update();  // not open: nothing pulls
  EXPECT_EQ(source.calls, 0);
  ASSERT_TRUE(audio.open(source));
  struct Step {
    uint32_t advanceMs;
    uint64_t totalFrames;  // 44100 × ms since open / 1000, rounded down
  };
  const Step steps[] = {{0, 0}, {10, 441}, {33, 1896}, {1, 1940}, {956, 44100}, {1000, 88200}};
  for (const Step& s : steps) {
    clock.advance(s.advanceMs);
    audio.update();
    EXPECT_EQ(audio.framesRendered(), s.totalFrames) << "after +" << s.advanceMs << " ms";
  }
}

TEST(HeadlessAudio, SamplesComeInOrderAndCloseStopsThePulling) {
  VirtualClock clock;
  clock.setCostPerRead(0);
  HeadlessAudio audio(clock);
  CountingSource source;
  audio.setCapture(true);
  audio.open(source);
  clock.advance(200);  // 8820 frames: more than one pull
  audio.update();
  const auto& got = audio.captured();
  ASSERT_EQ(got.size(), 8820u * 2);
  for (size_t frame = 0; frame < 8820; ++frame) {
    ASSERT_EQ(got[frame * 2], static_cast<int16_t>(frame)) << frame;
    ASSERT_EQ(got[frame * 2 + 1], static_cast<int16_t>(-static_cast<int16_t>(frame))) << frame;
  }
  audio.close();
  int calls = source.calls;
  clock.advance(100);
  audio.update();
  EXPECT_EQ(source.calls, calls);
  EXPECT_FALSE(audio.isOpen());
}

TEST(HeadlessAudio, TheClockWrappingAroundLosesNoTime) {
  VirtualClock clock(0xFFFFFFF0u);  // 16 ms before the 32-bit millisecond counter wraps
  clock.setCostPerRead(0);
  HeadlessAudio audio(clock);
  CountingSource source;
  audio.open(source);
  clock.advance(40);
  audio.update();
  EXPECT_EQ(audio.framesRendered(), 1764u);
}

}  // namespace
}  // namespace kelvox::platform
