// Reading and editing profile (INI) files with Windows profile-function semantics.
#include "platform/profile.h"

#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace kelvox::platform {
namespace {

std::string_view trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && sjisCompareNoCase(a, b) == 0;
}

// "[name]" → name; false for any other line.
bool sectionHeader(std::string_view line, std::string& name) {
  line = trim(line);
  if (line.size() < 2 || line.front() != '[') return false;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = std::string(trim(line.substr(1, close - 1)));
  return true;
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

bool splitProfileLine(std::string_view line, std::string& key, std::string& value) {
  std::string_view t = trim(line);
  if (t.empty() || t.front() == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = std::string(trim(t.substr(0, eq)));
  value = std::string(trim(t.substr(eq + 1)));
  return true;
}

Profile Profile::parse(std::string_view text) {
  Profile profile;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string name;
    if (sectionHeader(line, name))
      profile.sections_.push_back({name, {}});
    else if (profile.sections_.empty())
      profile.preamble_.emplace_back(line);
    else
      profile.sections_.back().lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  // A final line end leaves one empty line behind; it is not part of the file's content.
  auto& last = profile.sections_.empty() ? profile.preamble_ : profile.sections_.back().lines;
  if (!last.empty() && last.back().empty()) last.pop_back();
  return profile;
}

Profile Profile::load(const std::filesystem::path& file) {
  // Through readWholeFile: a folder or a FIFO is refused at once (a stream would throw or wait).
  auto bytes = readWholeFile(file);
  if (!bytes) return Profile{};
  return parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

const Profile::Section* Profile::findSection(std::string_view name) const {
  for (const auto& s : sections_)
    if (sameName(s.name, trim(name))) return &s;
  return nullptr;
}

bool Profile::hasSection(std::string_view section) const { return findSection(section) != nullptr; }

std::string Profile::getString(std::string_view section, std::string_view key,
                               std::string_view fallback, size_t bufferSize) const {
  std::string result(trim(fallback));
  if (const Section* s = findSection(section)) {
    std::string k, v;
    for (const auto& line : s->lines) {
      if (splitProfileLine(line, k, v) && sameName(k, trim(key))) {
        result = std::string(unquote(v));
        break;
      }
    }
  }
  if (bufferSize == 0) return {};
  if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
  return result;
}

std::vector<Profile::Entry> Profile::sectionEntries(std::string_view section) const {
  std::vector<Entry> entries;
  if (const Section* s = findSection(section)) {
    std::string k, v;
    for (const auto& line : s->lines)
      if (splitProfileLine(line, k, v)) entries.emplace_back(k, v);
  }
  return entries;
}

void Profile::setString(std::string_view section, std::string_view key, std::string_view value) {
  Section* target = const_cast<Section*>(findSection(section));
  if (!target) {
    sections_.push_back({std::string(trim(section)), {}});
    target = &sections_.back();
  }
  std::string newLine = std::string(trim(key)) + "=" + std::string(value);
  std::string k, v;
  for (auto& line : target->lines) {
    if (splitProfileLine(line, k, v) && sameName(k, trim(key))) {
      line = newLine;
      return;
    }
  }
  target->lines.push_back(newLine);
}

void Profile::removeSection(std::string_view section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (sameName(it->name, trim(section))) {
      sections_.erase(it);
      return;
    }
  }
}

std::string Profile::text() const {
  std::string out;
  for (const auto& line : preamble_) out += line + "\r\n";
  for (const auto& s : sections_) {
    out += "[" + s.name + "]\r\n";
    for (const auto& line : s.lines) out += line + "\r\n";
  }
  return out;
}

}  // namespace kelvox::platform
