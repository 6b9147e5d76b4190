// Sorted, case-insensitive, duplicate-free list of names.
#include "vm/system_list.h"

#include <algorithm>
#include <iterator>

#include "platform/text_encoding.h"

namespace kelvox::vm {

namespace {
bool lessNoCase(const std::string& a, std::string_view b) { return platform::sjisCompareNoCase(a, b) < 0; }
}  // namespace

void SystemList::add(std::string_view name) {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), name, lessNoCase);
  if (it != entries_.end() && platform::sjisCompareNoCase(*it, name) == 0) return;
  entries_.insert(it, std::string(name));
}

bool SystemList::contains(std::string_view name) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), name, lessNoCase);
  return it != entries_.end() && platform::sjisCompareNoCase(*it, name) == 0;
}

void SystemList::addLines(std::string_view text) {
  // Adding line by line would move the tail of the list for every entry (quadratic in a long
  // Save\Sys); the lines are sorted once and merged instead. Stable steps keep the first of
  // entries that differ only by case, as add() does: the list's own before the file's, and an
  // earlier line before a later one. Into an empty list (the start) the lines go straight in,
  // so a long file is held once as strings, not twice.
  auto less = [](const std::string& a, const std::string& b) { return platform::sjisCompareNoCase(a, b) < 0; };
  auto same = [](const std::string& a, const std::string& b) { return platform::sjisCompareNoCase(a, b) == 0; };
  std::vector<std::string> lines;
  std::vector<std::string>& into = entries_.empty() ? entries_ : lines;
  auto eachLine = [&text](auto&& take) {
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      if (end > start) take(text.substr(start, end - start));
      start = end + 1;
    }
  };
  size_t count = 0;
  eachLine([&count](std::string_view) { ++count; });
  into.reserve(into.size() + count);  // counted first: growing would hold the list up to three times
  eachLine([&into](std::string_view line) { into.emplace_back(line); });
  if (!std::is_sorted(into.begin(), into.end(), less)) std::stable_sort(into.begin(), into.end(), less);
  if (&into == &entries_) {
    entries_.erase(std::unique(entries_.begin(), entries_.end(), same), entries_.end());
    return;
  }
  std::vector<std::string> merged;
  merged.reserve(entries_.size() + lines.size());
  std::merge(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()),
             std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()),
             std::back_inserter(merged), less);
  merged.erase(std::unique(merged.begin(), merged.end(), same), merged.end());
  entries_ = std::move(merged);
}

std::string SystemList::text() const {
  std::string out;
  for (const auto& e : entries_) out += e + "\r\n";
  return out;
}

}  // namespace kelvox::vm
