// The headless platform builds its services once and hands out a bundle of them; notices may
// be posted to its window from any thread.
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "support/test_game.h"

namespace kelvox::platform {
namespace {

namespace fs = std::filesystem;

TEST(HeadlessPlatform, TheBundleIsTheOwnedServices) {
  HeadlessPlatform p("/nonexistent");
  Platform& bundle = p.platform();
  EXPECT_EQ(&bundle.clock, static_cast<Clock*>(&p.virtualClock()));
  EXPECT_EQ(&bundle.window, static_cast<Window*>(&p.window()));
  EXPECT_EQ(&bundle.display, static_cast<DisplayDevice*>(&p.display()));
  EXPECT_EQ(&bundle.audio, static_cast<AudioDevice*>(&p.audio()));
  HeadlessPlatform real("/nonexistent", {.realTime = true});
  EXPECT_NE(&real.clock(), static_cast<Clock*>(&real.virtualClock()));
}

TEST(HeadlessPlatform, ARunsServicesWrapItsOwnOrNameThePartThatFailed) {
  using Part = ServiceFailure::Part;
  using Hook = TextHookTarget::Kind;
  test::TempDir dir;
  struct Case {
    const char* name;
    ServiceOptions services;
    Part failed;
  } cases[] = {
      {"none", {}, Part::None},
      {"everything", {{Hook::File, dir.path() / "said.txt"}, InputSchedule{}, dir.path() / "heard.wav", 16}, Part::None},
      {"a hook into a folder", {.textHook = {Hook::File, dir.path()}}, Part::TextHook},
      {"the clipboard", {.textHook = {Hook::Clipboard, {}}}, Part::TextHook},
      {"a recording into a folder", {.audioOut = dir.path()}, Part::Recorder},
  };
  for (const Case& c : cases) {
    ServiceFailure failure;
    auto p = HeadlessPlatform::create("/nonexistent", {}, c.services, failure);
    EXPECT_EQ(failure.part, c.failed) << c.name;
    EXPECT_EQ(p == nullptr, c.failed != Part::None) << c.name;
    if (!p) continue;
    Platform& bundle = p->platform();
    EXPECT_EQ(&bundle.window == &p->window(), !c.services.input) << c.name;
    EXPECT_EQ(p->services().input() != nullptr, c.services.input.has_value()) << c.name;
    EXPECT_EQ(&bundle.audio == &p->audio(), c.services.audioOut.empty()) << c.name;
    EXPECT_EQ(bundle.textSink != nullptr, c.services.textHook.kind != Hook::None) << c.name;
    EXPECT_EQ(p->surfaces().desktopDepth(), c.services.desktopDepth) << c.name;
    std::string error;
    EXPECT_TRUE(p->services().finish(error)) << c.name << ": " << error;
  }
  EXPECT_TRUE(fs::exists(dir.path() / "heard.wav"));
}

TEST(HeadlessPlatform, DrivesAreFoundThroughThePathsVolumes) {
  test::TempDir disc;
  disc.write("Data/a.txt", "x");
  HeadlessPlatform p("/nonexistent");
  p.fixedVolumes() = FixedVolumes({{'q', "DISC", disc.path()}});
  EXPECT_EQ(p.platform().paths.resolve("Q:\\DATA\\A.TXT"), disc.path() / "Data" / "a.txt");
}

TEST(HeadlessWindow, NoticesFromOtherThreadsArriveAtTheNextPumpAfterInjectedEvents) {
  HeadlessWindow window;
  constexpr int kThreads = 4, kEach = 50;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t)
    posters.emplace_back([&window, t] {
      for (int i = 0; i < kEach; ++i) EXPECT_TRUE(window.postNotice(0x3B9, static_cast<uint32_t>(t), i));
    });
  for (auto& poster : posters) poster.join();
  window.inject({WindowEvent::Kind::Paint});
  std::vector<WindowEvent> events;
  window.pumpEvents(events);
  ASSERT_EQ(events.size(), 1u + kThreads * kEach);
  EXPECT_EQ(events[0].kind, WindowEvent::Kind::Paint);
  // Each thread's notices keep their order; every one comes exactly once.
  std::vector<int> nextOf(kThreads, 0);
  for (size_t i = 1; i < events.size(); ++i) {
    ASSERT_EQ(events[i].kind, WindowEvent::Kind::Notice);
    EXPECT_EQ(events[i].message, 0x3B9u);
    EXPECT_EQ(events[i].lParam, nextOf[events[i].wParam]++);
  }
  events.clear();
  window.pumpEvents(events);
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace kelvox::platform
