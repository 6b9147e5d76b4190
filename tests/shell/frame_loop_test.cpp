// The engine host's tick on a VirtualClock: pacing, late detection and skipping, the
// presentation states, cursor auto-hide, and teardown.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/engine_host.h"
#include "shell/frame_stats.h"
#include "support/test_game.h"

namespace kelvox::shell {
namespace {

struct CountingPresenter final : vm::FramePresenter {
  int refreshes = 0, backups = 0, transitions = 0, presents = 0;
  void refresh() override { ++refreshes; }
  void composeIntoBackup() override { ++backups; }
  void prepareTransition(vm::MachineContext&) override { ++transitions; }
  void present() override { ++presents; }
};

class FrameLoop : public ::testing::Test {
 protected:
  // A script that waits for a frame forever.
  test::TestGame game{".code\nloop: WaitFrame loop Jump\n"};
  CountingPresenter presenter;
  void SetUp() override {
    game.host->presenter = &presenter;
  }
  vm::MachineContext& m() { return game.m(); }
};

TEST_F(FrameLoop, LateOnlyMoreThanHalfAPeriodAfterTheDeadline) {
  // paceFrame advances the deadline by 33 first; "late" compares the reading with it.
  for (uint32_t behind : {16u, 17u}) {
    m().frameDeadline = 1000;
    game.clock().set(1033 + behind);
    EXPECT_EQ(paceFrame(m()), behind == 17) << behind;
    EXPECT_EQ(m().frameDeadline, 1033u);
  }
}

TEST_F(FrameLoop, PacingSleepsUntilJustPastTheDeadline) {
  m().frameDeadline = 1000;
  game.clock().set(1010);
  EXPECT_FALSE(paceFrame(m()));
  // Slept to 3 ms before 1033, then spun until the deadline had passed by 1 ms.
  EXPECT_EQ(game.clock().now(), 1035u);
}

TEST_F(FrameLoop, OnTimeTicksPresentAndLateTicksSkip) {
  m().frameDeadline = game.clock().now();
  frameTick(*game.host);
  EXPECT_EQ(presenter.refreshes, 1);
  EXPECT_EQ(m().frameWait, 0);

  game.clock().advance(100);  // far behind: the next ticks are late
  frameTick(*game.host);
  EXPECT_EQ(presenter.refreshes, 1);
  EXPECT_EQ(m().skippedFrames, 1);
  EXPECT_EQ(m().frameWait, 0);  // execution goes on even though nothing was shown
}

TEST_F(FrameLoop, WaitDrawnFrameIsReleasedAfter30SkippedFrames) {
  test::TestGame drawn(".code\n WaitDrawnFrame 1\nloop: WaitFrame loop Jump\n");
  drawn.host->presenter = &presenter;
  auto& dm = drawn.m();
  dm.frameDeadline = 0;
  drawn.clock().set(5000);  // every tick from here is late
  for (int tick = 1; tick <= 30; ++tick) {
    frameTick(*drawn.host);
    EXPECT_EQ(dm.drawnFrameWait, tick < 30 ? 1 : 0) << tick;
    EXPECT_TRUE(drawn.stack().empty());
  }
  frameTick(*drawn.host);  // the 31st tick runs the script again
  EXPECT_EQ(drawn.stack(), std::vector<int32_t>{1});
  EXPECT_EQ(presenter.refreshes, 0);
}

TEST_F(FrameLoop, TransitionStatesHoldCaptureAndShow) {
  struct Step {
    uint8_t state, next;
    int refreshes, backups, transitions, presents;
  };
  const Step steps[] = {{1, 2, 0, 1, 0, 0}, {2, 2, 0, 1, 0, 0}, {2, 2, 0, 1, 0, 0},
                        {3, 4, 0, 1, 1, 0}, {4, 4, 0, 1, 1, 1}, {0, 0, 1, 1, 1, 1}};
  for (const auto& s : steps) {
    m().transitionState = s.state;
    m().frameDeadline = game.clock().now();
    m().drawnFrameWait = 1;
    frameTick(*game.host);
    EXPECT_EQ(m().transitionState, s.next);
    EXPECT_EQ(m().drawnFrameWait, 0);
    EXPECT_EQ(presenter.refreshes, s.refreshes);
    EXPECT_EQ(presenter.backups, s.backups);
    EXPECT_EQ(presenter.transitions, s.transitions);
    EXPECT_EQ(presenter.presents, s.presents);
  }
  m().transitionState = 9;  // unknown: nothing, flags kept
  m().frameDeadline = game.clock().now();
  frameTick(*game.host);
  EXPECT_EQ(m().frameWait, 1);
}

TEST_F(FrameLoop, StillCursorHidesAtTheFirstTickAfterTheDelay) {
  m().cursorAutoHide = 1;
  m().lastMouseMoveTime = 0;
  game.clock().set(3000);
  m().frameDeadline = 3000;
  frameTick(*game.host);  // exactly 3000 ms: not yet
  EXPECT_EQ(m().cursorVisible, 1);
  game.clock().set(3001);
  m().frameDeadline = 3001;
  frameTick(*game.host);
  EXPECT_EQ(m().cursorVisible, 0);
  EXPECT_EQ(game.window().cursor().count(), -1);

  game.host->input->setMousePosition(5, 5);  // movement shows it again and restarts the clock
  game.clock().set(4000);
  m().frameDeadline = 4000;
  frameTick(*game.host);
  EXPECT_EQ(m().cursorVisible, 1);
  EXPECT_EQ(m().lastMouseMoveTime, 4000u);
  EXPECT_EQ(game.window().cursor().count(), 0);
}

TEST_F(FrameLoop, AFaultSkipsTheRestOfTheTickAndTheNextTickRuns) {
  test::TestGame faulty(".code\n Drop\nloop: 1 WaitFrame loop Jump\n");
  EXPECT_NE(test::errorOf([&] { frameTick(*faulty.host); }), "");
  uint32_t deadline = faulty.m().frameDeadline;
  frameTick(*faulty.host);
  EXPECT_EQ(faulty.stack(), std::vector<int32_t>{1});
  EXPECT_EQ(faulty.m().frameDeadline, deadline + 33);
}

struct SilentSource final : platform::AudioSource {
  void render(std::span<int16_t> out) override { std::fill(out.begin(), out.end(), int16_t{0}); }
};

TEST_F(FrameLoop, EachTickBringsTheSoundOutputUpToTheClock) {
  // Headless, the mixer is rendered on the engine thread, once per tick, up to the clock.
  SilentSource source;
  auto& audio = game.platform->audio();
  audio.open(source);
  game.clock().advance(1000);
  frameTick(*game.host);
  EXPECT_GE(audio.framesRendered(), 44100u);
  audio.close();
}

TEST(FaultPacing, AScriptThatFaultsEveryOtherTickKeepsThePace) {
  // Each pass of the loop takes two ticks: one ends at WaitFrame, the next faults in DivU.
  test::TestGame faulty(".code\nloop: WaitFrame 1 0 DivU loop Jump\n");
  uint32_t start = faulty.m().frameDeadline;
  int faults = 0;
  for (int tick = 0; tick < 60; ++tick)
    if (!test::errorOf([&] { frameTick(*faulty.host); }).empty()) ++faults;
  EXPECT_EQ(faults, 30);
  // 60 paced ticks: the deadline moved 60 periods and the clock went past it.
  EXPECT_EQ(faulty.m().frameDeadline, start + 60 * 33);
  EXPECT_GT(static_cast<int32_t>(faulty.clock().now() - (start + 60 * 33)), 0);
}

TEST(Host, DestroyAfterAFailedCreateTearsDownWhatExists) {
  test::TempDir dir;  // no script: the machine step fails
  platform::HeadlessPlatform p(dir.path());
  EngineHost host(p.platform());
  EXPECT_NE(test::errorOf([&] { createHost(host); }), "");
  EXPECT_TRUE(host.input);
  EXPECT_NO_THROW(destroyHost(host));
  EXPECT_FALSE(host.input);
  EXPECT_FALSE(host.machine);
  EXPECT_NO_THROW(destroyHost(host));  // a second run finds everything released
}

TEST(FrameStats, MeanPercentileAndSlowest) {
  FrameStats stats;
  uint32_t t = 0;
  stats.tickStarted(t);
  for (int i = 0; i < 99; ++i) stats.tickStarted(t += 33);
  stats.tickStarted(t += 133);
  EXPECT_EQ(stats.ticks(), 101u);
  EXPECT_DOUBLE_EQ(stats.meanPeriodMs(), (99 * 33 + 133) / 100.0);
  EXPECT_EQ(stats.percentilePeriodMs(99), 33u);
  EXPECT_EQ(stats.slowestPeriodMs(), 133u);
}

}  // namespace
}  // namespace kelvox::shell
