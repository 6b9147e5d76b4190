// Walks a text line by line, for the line-based files the platform reads (cue sheets, the
// registry file, the desktop folder's settings): LF ends a line, a CR before it is dropped, and
// a last line without LF still counts.
#pragma once

#include <cstddef>
#include <string_view>

namespace kelvox::platform {

class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}

  // The next line into [line]; false once the text is used up.
  bool next(std::string_view& line) {
    if (start_ >= text_.size()) return false;
    size_t end = text_.find('\n', start_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(start_, end - start_);
    start_ = end + 1;
    ++number_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

  // The number of the line next() gave last, from 1.
  size_t number() const { return number_; }

 private:
  std::string_view text_;
  size_t start_ = 0;
  size_t number_ = 0;
};

}  // namespace kelvox::platform
