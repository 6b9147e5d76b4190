// The timed-input file of unattended runs and its replay around a window.
#include "platform/scripted_input.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_window.h"

namespace kelvox::platform {
namespace {

using Kind = platform::WindowEvent::Kind;

TEST(ScriptedInput, EventsArriveAtTheirTickAndHoldKeys) {
  InputSchedule schedule;
  std::string error;
  ASSERT_TRUE(parseInputScript("# comment\n0 mouse 10 20\n2 down left\n2 key 27 down\n5 up left\n5 key 27 up\n",
                               schedule, error))
      << error;
  platform::HeadlessWindow inner;
  ScriptedInput input(inner, schedule);
  std::vector<platform::WindowEvent> events;
  input.beginTick(0);
  input.pumpEvents(events);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Kind::MouseMove);
  events.clear();
  input.beginTick(2);
  input.pumpEvents(events);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, Kind::MouseDown);
  EXPECT_EQ(events[0].x, 10);  // a button goes down where the pointer is
  EXPECT_TRUE(input.isKeyDown(1));
  EXPECT_TRUE(input.isKeyDown(27));
  input.beginTick(5);
  EXPECT_FALSE(input.isKeyDown(1));
  EXPECT_FALSE(input.isKeyDown(27));
}

TEST(ScriptedInput, BadLinesNameTheirLine) {
  const char* bad[] = {"x mouse 1 2", "1 mouse 1", "1 down sideways", "1 key 300 down", "1 key 27 sideways",
                       "1 jump", "1 mouse 1 2 3", "-1 key 27 down", "+3 key 27 down",
                       "99999999999999999999999 key 27 down", "1 key 27 down extra # comment"};
  for (const char* text : bad) {
    InputSchedule schedule;
    std::string error;
    EXPECT_FALSE(parseInputScript(std::string("\n") + text, schedule, error)) << text;
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  }
}

TEST(ScriptedInput, TheReadmeExampleWithItsCommentsParses) {
  // As the README shows it, trailing comments included.
  const char* example =
      "0   mouse 320 240        # the pointer moves to game pixel (320, 240)\n"
      "10  down left            # a button goes down where the pointer is (left, right, middle)\n"
      "12  up left\n"
      "40  key 27 down          # Windows virtual-key number: 27 Escape, 13 Enter, 65 'A', ...\n"
      "41  key 27 up\n"
      "# a comment line\n";
  InputSchedule schedule;
  std::string error;
  ASSERT_TRUE(parseInputScript(example, schedule, error)) << error;
  ASSERT_EQ(schedule.size(), 5u);
  EXPECT_EQ(schedule[0].at(0).x, 320);
  EXPECT_EQ(schedule[10].at(0).kind, Kind::MouseDown);
  EXPECT_EQ(schedule[10].at(0).x, 320);  // where the pointer is
  EXPECT_EQ(schedule[40].at(0).virtualKey, 27);
  EXPECT_EQ(schedule[41].at(0).kind, Kind::KeyUp);
}

}  // namespace
}  // namespace kelvox::platform
