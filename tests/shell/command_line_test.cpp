// kelvox's options.
#include <gtest/gtest.h>

#include "shell/command_line.h"

namespace kelvox::shell {
namespace {

using platform::Answer;

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

}  // namespace
}  // namespace kelvox::shell
