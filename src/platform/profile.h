// Profile (INI) files read with the semantics of GetPrivateProfileString: section and key names
// match without regard to ASCII case, the first matching section and key win, blanks around
// names and values are dropped, one pair of enclosing quotes (' or ") is removed from a value,
// lines starting with ';' are comments, and a value is cut to fit a buffer of the caller's size.
// Files are byte strings (Shift-JIS in practice); nothing is converted.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvox::platform {

class Profile {
 public:
  using Entry = std::pair<std::string, std::string>;  // key, value as written (trimmed)

  // Parses the text of a profile file. Never fails: a damaged line is skipped.
  static Profile parse(std::string_view text);
  // Reads [file]; a missing or unreadable file is an empty profile.
  static Profile load(const std::filesystem::path& file);

  // The value of [key] in [section], else [fallback]; cut to [bufferSize] - 1 bytes, as the
  // Windows call fills a buffer of that size with its terminating zero. [bufferSize] 0 gives "".
  std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                        size_t bufferSize) const;

  // Every key=value line of [section] in file order; empty when there is no such section.
  std::vector<Entry> sectionEntries(std::string_view section) const;

  bool hasSection(std::string_view section) const;

  // Editing, for programs that write profiles: sets [key] (adding the section or key at its
  // end when missing); removes a whole section; the text to write back.
  void setString(std::string_view section, std::string_view key, std::string_view value);
  void removeSection(std::string_view section);
  std::string text() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;  // raw lines after the header, without line ends
  };
  std::vector<std::string> preamble_;  // lines before the first section header
  std::vector<Section> sections_;

  const Section* findSection(std::string_view name) const;
};

// Splits a profile line "key = value" into its trimmed parts; false for a line without '='
// or a comment.
bool splitProfileLine(std::string_view line, std::string& key, std::string& value);

}  // namespace kelvox::platform
