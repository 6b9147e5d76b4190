// kelvox's options and the timed-input file.
#include <gtest/gtest.h>

#include "shell/command_line.h"
#include "shell/scripted_input.h"
#include "platform/headless/headless_window.h"

namespace kelvox::shell {
namespace {

using platform::Answer;
using Kind = platform::WindowEvent::Kind;

bool parse(std::vector<const char*> args, CommandLine& line, std::string& error) {
  args.insert(args.begin(), "kelvox");
  return parseCommandLine(static_cast<int>(args.size()), args.data(), line, error);
}

TEST(CommandLine, OptionsAndTheGameFolder) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(parse({"--headless", "--fast", "--frames", "30", "--answer", "OK, cancel,yes", "--stats", "--audio-out", "a.wav", "--depth", "15", "--scale", "3", "--screenshot", "end.png", "--screenshot-at", "30:a.png",
                     "--screenshot-at", "0:b:c.png", "game"},
                    line, error));
  EXPECT_EQ(line.audioOut, "a.wav");
  EXPECT_EQ(line.depth, 15);
  EXPECT_EQ(line.scale, 3);
  EXPECT_EQ(line.screenshot, "end.png");
  using Shot = std::pair<uint64_t, std::string>;
  EXPECT_EQ(line.screenshotsAt, (std::vector<Shot>{{30, "a.png"}, {0, "b:c.png"}}));
  EXPECT_TRUE(line.headless);
  EXPECT_TRUE(line.fast);
  EXPECT_TRUE(line.stats);
  EXPECT_EQ(line.frames, 30u);
  EXPECT_EQ(line.answers, (std::vector<Answer>{Answer::Ok, Answer::Cancel, Answer::Yes}));
  EXPECT_EQ(line.gameDir, "game");
}

TEST(CommandLine, BadOptionsAreRefusedWithAReason) {
  const std::vector<std::vector<const char*>> bad = {
      {"--frames"}, {"--frames", "0"}, {"--frames", "12x"}, {"--answer", "maybe"}, {"--bogus"}, {"a", "b"}, {"--audio-out"}, {"--depth", "12"}, {"--depth"},
      {"--screenshot-at", "x:a.png"}, {"--screenshot-at", "12"}, {"--screenshot-at", "-1:a.png"}, {"--screenshot-at", "5:"},
      {"--scale", "0"}, {"--scale", "9"}, {"--scale", "2x"}, {"--fast", "game"}};
  for (const auto& args : bad) {
    CommandLine line;
    std::string error;
    EXPECT_FALSE(parse(args, line, error));
    EXPECT_FALSE(error.empty());
  }
}

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
}  // namespace kelvox::shell
