// Sorted, case-insensitive, duplicate-free list of names.
#include "vm/system_list.h"

#include <algorithm>

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
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) add(text.substr(start, end - start));
    start = end + 1;
  }
}

std::string SystemList::text() const {
  std::string out;
  for (const auto& e : entries_) out += e + "\r\n";
  return out;
}

}  // namespace kelvox::vm
