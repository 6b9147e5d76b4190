// Where the text hook hands out the game's text for dictionary pop-ups and translation tools:
// standard output or a file (a line per text), or the clipboard (the SDL platform's). The
// engine decides which text counts as shown; a sink only delivers it.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kelvox::platform {

class TextSink {
 public:
  virtual ~TextSink() = default;
  // Hands out one text: UTF-8, line breaks as '\n'. Never keeps the engine waiting for long:
  // a sink that cannot deliver drops the text and says so once on standard error.
  virtual void put(std::string_view utf8) = 0;
};

// [utf8] as one line that is safe on a terminal: each '\n' written as the two characters \n,
// every other control character escaped as escapeControls does. No line break at its end.
std::string hookLine(std::string_view utf8);

// One line per text on a stdio stream (standard output), flushed at once, so the lines keep
// their place among the message-box lines of a headless run.
class StreamTextSink : public TextSink {
 public:
  explicit StreamTextSink(std::FILE* stream) : stream_(stream) {}
  void put(std::string_view utf8) override;

 private:
  std::FILE* stream_;
};

// One line per text appended to a file, written straight through (no buffer), so a tool that
// follows the file or reads a FIFO sees each line as soon as it is shown.
class FileTextSink : public TextSink {
 public:
  // Opens [file] for appending, creating a regular file (mode 0644 before the umask) if there
  // is none. A FIFO needs its reader running already: without one, nothing is opened. Null,
  // with the reason in [error], for a folder, a FIFO without a reader or any file that cannot
  // be opened for writing.
  static std::unique_ptr<FileTextSink> open(const std::filesystem::path& file, std::string& error);
  ~FileTextSink() override;
  FileTextSink(const FileTextSink&) = delete;
  FileTextSink& operator=(const FileTextSink&) = delete;
  void put(std::string_view utf8) override;

 private:
  FileTextSink(int fd, std::filesystem::path file) : fd_(fd), file_(std::move(file)) {}
  int fd_;
  std::filesystem::path file_;
  bool broken_ = false;      // a write failed: the rest is dropped, as said once on standard error
  bool warnedSlow_ = false;  // a slow reader lost a text, as said once on standard error
};

}  // namespace kelvox::platform
