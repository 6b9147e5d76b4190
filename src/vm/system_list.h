// The names that outlive single games (pictures already shown, flags set by the script): a
// sorted list compared without regard to ASCII case, which ignores duplicates. Stored in
// Save\Sys as text, one entry per line, lines ended by CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvox::vm {

class SystemList {
 public:
  // Adds [name] in sorted place; nothing if an entry equal but for case exists.
  void add(std::string_view name);
  bool contains(std::string_view name) const;
  size_t size() const { return entries_.size(); }
  const std::vector<std::string>& entries() const { return entries_; }
  void clear() { entries_.clear(); }

  // Adds every line of [text] (CR LF, LF or CR endings); empty lines carry nothing and are skipped.
  void addLines(std::string_view text);
  // Whether [name] can be stored as one line: it holds no CR and no LF (the file has no escape
  // for them, and the original's files must read as they always did).
  static bool storable(std::string_view name) { return name.find_first_of("\r\n") == std::string_view::npos; }
  // The entries as CR LF terminated lines.
  std::string text() const;

 private:
  std::vector<std::string> entries_;
};

}  // namespace kelvox::vm
