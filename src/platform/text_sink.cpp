// The text hook's line sinks: standard output and appended files (FIFOs included).
#include "platform/text_sink.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/terminal_text.h"

namespace kelvox::platform {

namespace {

// How long one line may wait for a slow reader of a FIFO before it is dropped.
constexpr int kReaderWaitMs = 100;

}  // namespace

std::string hookLine(std::string_view utf8) {
  std::string line;
  size_t start = 0;
  for (size_t end; (end = utf8.find('\n', start)) != std::string_view::npos; start = end + 1)
    line += escapeControls(utf8.substr(start, end - start)) + "\\n";
  return line + escapeControls(utf8.substr(start));
}

void StreamTextSink::put(std::string_view utf8) {
  std::string line = hookLine(utf8) + '\n';
  std::fwrite(line.data(), 1, line.size(), stream_);
  std::fflush(stream_);
}

std::unique_ptr<FileTextSink> FileTextSink::open(const std::filesystem::path& file, std::string& error) {
  // Non-blocking, so that a FIFO without a reader is an error now rather than a game that
  // never starts, and a reader that stops reading cannot stall the game later.
  int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = errno == ENXIO ? "no program is reading the FIFO (start the reader first)" : std::strerror(errno);
    return nullptr;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
    error = "not a file, a FIFO or a character device";
    ::close(fd);
    return nullptr;
  }
  // A reader of the FIFO that goes away must not end the game with SIGPIPE: the write fails
  // with EPIPE instead, and the sink says so.
  if (S_ISFIFO(st.st_mode)) signal(SIGPIPE, SIG_IGN);
  return std::unique_ptr<FileTextSink>(new FileTextSink(fd, file));
}

FileTextSink::~FileTextSink() { ::close(fd_); }

void FileTextSink::put(std::string_view utf8) {
  if (broken_) return;
  std::string line = hookLine(utf8) + '\n';
  size_t done = 0;
  while (done < line.size()) {
    ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{fd_, POLLOUT, 0};
      if (poll(&p, 1, kReaderWaitMs) > 0 && !(p.revents & (POLLERR | POLLHUP))) continue;
      // A reader that falls behind loses this text, not the game's time; a line it has only
      // half received cannot be mended, so then the sink stops.
      if (done == 0) {
        if (!warnedSlow_)
          std::fprintf(stderr, "kelvox: text hook %s: the reader is not keeping up; texts are dropped\n",
                       escapeControls(file_.string()).c_str());
        warnedSlow_ = true;
        return;
      }
      errno = EAGAIN;
    }
    std::string why = errno == EAGAIN ? "the reader stopped in the middle of a line" : std::strerror(errno);
    std::fprintf(stderr, "kelvox: text hook %s: %s; no more text is written there\n",
                 escapeControls(file_.string()).c_str(), why.c_str());
    broken_ = true;
    return;
  }
}

}  // namespace kelvox::platform
