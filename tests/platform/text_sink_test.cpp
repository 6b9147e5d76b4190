// The text hook's file sink on a FIFO: the reader gets each text as one line, and a reader
// that goes away costs the game nothing.
#include "platform/text_sink.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_game.h"

namespace kelvox::platform {
namespace {

TEST(TextSink, AFifoReaderGetsEachLineAndMayGoAway) {
  test::TempDir dir;
  std::filesystem::path fifo = dir.path() / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::string error;
  auto sink = FileTextSink::open(fifo, error);
  ASSERT_NE(sink, nullptr) << error;
  sink->put("一\n二");
  char buffer[64] = {};
  ASSERT_GT(read(reader, buffer, sizeof buffer - 1), 0);
  EXPECT_STREQ(buffer, "一\\n二\n");
  close(reader);
  sink->put("nobody reads this");  // EPIPE, not SIGPIPE: the test process lives on
  sink->put("nor this");
}

}  // namespace
}  // namespace kelvox::platform
