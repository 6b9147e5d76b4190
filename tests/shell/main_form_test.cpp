// The main window and the message loop: Escape, End, closing, start-up failures, listeners.
#include <gtest/gtest.h>

#include <thread>

#include "common/listener_registry.h"
#include "common/window_messages.h"
#include "platform/text_encoding.h"
#include "shell/application.h"
#include "shell/main_form.h"
#include "support/test_game.h"

namespace kelvox::shell {
namespace {

using platform::Answer;
using Kind = platform::WindowEvent::Kind;

platform::WindowEvent key(int vk) {
  platform::WindowEvent e{Kind::KeyDown};
  e.virtualKey = vk;
  return e;
}

struct GameFolder {
  explicit GameFolder(std::string_view source) {
    test::writeScript(dir.path(), source);
    platform = std::make_unique<platform::HeadlessPlatform>(dir.path());
  }
  test::TempDir dir;
  std::unique_ptr<platform::HeadlessPlatform> platform;
};

TEST(MainForm, EscapeThenCancelGoesOnWithTheCursorUnchanged) {
  GameFolder g(".code\nloop: WaitFrame loop Jump\n");
  TMainForm form(g.platform->platform());
  form.FormCreate();
  g.platform->dialogs().queueAnswer(Answer::Cancel);
  form.windowProc(key(27));
  EXPECT_FALSE(form.closed());
  const auto& box = g.platform->dialogs().shown().at(0);
  EXPECT_EQ(platform::sjisToUtf8(box.text), "終了しますか");
  EXPECT_EQ(box.caption, "Zarveth Ver1.10");
  EXPECT_EQ(box.buttons, platform::Buttons::OkCancel);
  EXPECT_EQ(g.platform->window().cursor().count(), 0);
  form.windowProc(key(65));  // other keys do nothing
  EXPECT_EQ(g.platform->dialogs().shown().size(), 1u);
  g.platform->dialogs().queueAnswer(Answer::Ok);
  form.windowProc(key(27));
  EXPECT_TRUE(form.closed());
}

TEST(MainForm, EndClosesTheWindowAtTheEndOfTheTickAndShowsTheCursor) {
  GameFolder g(".code\n 0 ShowMouseCursor End\n");
  TMainForm form(g.platform->platform());
  form.FormCreate();
  form.onIdle();
  EXPECT_TRUE(form.closed());
  EXPECT_TRUE(g.platform->window().closed());
  EXPECT_EQ(g.platform->window().cursor().count(), 0);  // hidden by the script, shown at close
  EXPECT_TRUE(std::filesystem::exists(g.dir.path() / "Save" / "Sys"));
}

TEST(MainForm, TheTitleBarCloseAsksNothing) {
  GameFolder g(".code\nloop: WaitFrame loop Jump\n");
  TMainForm form(g.platform->platform());
  form.FormCreate();
  form.windowProc(platform::WindowEvent{Kind::Close});
  EXPECT_TRUE(form.closed());
  EXPECT_TRUE(g.platform->dialogs().shown().empty());
}

TEST(Application, AFaultyTickIsShownAndTheNextTickRuns) {
  GameFolder g(".code\n Drop 5 DebugShowNumber End\n");
  g.platform->virtualClock().setCostPerRead(1);
  EXPECT_EQ(runApplication(g.platform->platform(), RunOptions{}), 0);
  const auto& shown = g.platform->dialogs().shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(platform::sjisToUtf8(shown[0].text), "スクリプトの不正でスタックが空になりました(67)");
  EXPECT_EQ(shown[0].caption, "Zarveth Ver1.10");
  EXPECT_EQ(shown[0].icon, platform::Icon::Stop);
  EXPECT_EQ(shown[1].text, "5");
}

TEST(Application, CodeThatRunsOffItsEndEndsTheGameAfterOneBox) {
  // Three bytes: the literal 8, then nothing: pc runs past the end of the code.
  test::TempDir dir;
  dir.write("Script/Code.ssb", std::string("\x08\x00\x00", 3));
  dir.write("Script/Data.ssb", "\x5c\x5c\x5c\x5c");
  platform::HeadlessPlatform p(dir.path());
  RunOptions options;
  options.frameLimit = 20;  // before the fix the box came back every tick
  EXPECT_EQ(runApplication(p.platform(), options), 0);
  ASSERT_EQ(p.dialogs().shown().size(), 1u);
  EXPECT_EQ(platform::sjisToUtf8(p.dialogs().shown()[0].text), "コードの範囲外を実行しようとしました(7)");
  EXPECT_TRUE(p.window().closed());
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "Save" / "Sys"));  // closed the normal way
}

TEST(Application, AnEngineThatCannotStartShowsWhyAndRunsNothing) {
  test::TempDir dir;
  platform::HeadlessPlatform p(dir.path());
  RunOptions headless;
  headless.exitOnFailedStart = true;
  EXPECT_EQ(runApplication(p.platform(), headless), 1);
  ASSERT_EQ(p.dialogs().shown().size(), 1u);

  // A windowed run keeps its window open, black, until the user closes it.
  platform::HeadlessPlatform windowed(dir.path());
  RunOptions limited;
  limited.frameLimit = 5;
  EXPECT_EQ(runApplication(windowed.platform(), limited), 0);
  EXPECT_EQ(windowed.dialogs().shown().size(), 1u);
}

TEST(Application, TheFrameLimitClosesTheGameTheNormalWay) {
  GameFolder g(".code\nloop: WaitFrame loop Jump\n");
  RunOptions options;
  options.frameLimit = 3;
  EXPECT_EQ(runApplication(g.platform->platform(), options), 0);
  EXPECT_TRUE(g.platform->window().closed());
  EXPECT_TRUE(std::filesystem::exists(g.dir.path() / "Save" / "Sys"));
}

struct RecordingListener final : common::WindowMessageListener {
  std::vector<common::WindowMessage> seen;
  void onMessage(void*, uint32_t message, uint32_t wParam, int32_t lParam) override {
    seen.push_back({message, wParam, lParam});
  }
};

TEST(ListenerRegistry, ANoticePostedOnAnotherThreadReachesTheListenersOnTheNextPump) {
  GameFolder g(".code\nloop: WaitFrame loop Jump\n");
  TMainForm form(g.platform->platform());
  form.FormCreate();
  RecordingListener listener;
  form.host()->listeners.addListener(&listener);
  std::thread([&] { g.platform->window().postNotice(common::kMmMciNotify, 1, 0); }).join();
  EXPECT_TRUE(listener.seen.empty());  // nothing until the engine thread pumps
  std::vector<platform::WindowEvent> events;
  g.platform->platform().window.pumpEvents(events);
  for (const auto& e : events) form.windowProc(e);
  form.host()->listeners.removeListener(&listener);
  ASSERT_EQ(listener.seen.size(), 1u);
  EXPECT_EQ(listener.seen[0].message, common::kMmMciNotify);
  EXPECT_EQ(listener.seen[0].wParam, 1u);
}

TEST(ListenerRegistry, TheWindowPassesItsMessagesOnWhileTheHostLives) {
  GameFolder g(".code\nloop: WaitFrame loop Jump\n");
  RecordingListener listener;
  TMainForm form(g.platform->platform());
  platform::WindowEvent move{Kind::MouseMove};
  move.x = 3;
  move.y = 4;
  form.windowProc(move);  // before creation: no host, no registry, nothing passed on
  form.FormCreate();
  // The host owns the registry and hands it to the machine, which the CD object will use.
  ASSERT_EQ(form.host()->machine->listeners, &form.host()->listeners);
  form.host()->listeners.addListener(&listener);
  form.windowProc(move);
  platform::WindowEvent notice{Kind::Notice};
  notice.message = common::kMmMciNotify;
  notice.wParam = 1;
  form.windowProc(notice);
  form.host()->listeners.removeListener(&listener);
  ASSERT_EQ(listener.seen.size(), 2u);
  EXPECT_EQ(listener.seen[0].message, common::kWmMouseMove);
  EXPECT_EQ(listener.seen[0].lParam, (4 << 16) | 3);
  EXPECT_EQ(listener.seen[1].message, common::kMmMciNotify);
  EXPECT_EQ(listener.seen[1].wParam, 1u);
  EXPECT_EQ(form.host()->input->mouseX(), 3);
}

}  // namespace
}  // namespace kelvox::shell
